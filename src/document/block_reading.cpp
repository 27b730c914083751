// Reading a library: its names, one block, every block, and its records streamed to a reader.
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

#include "document/block_file.h"
#include "document/record_walk.h"

namespace blok {

using records::BlockCollector;
using records::Guarded;
using records::Indifferent;
using records::kFirstEntityOffset;
using records::kUnitOffset;
using records::RecordWalk;
using records::SameName;
using records::Walk;

Result<std::vector<std::string>> CzytajListeBlokow(const std::filesystem::path& file) {
  return Guarded(file, [&]() -> Result<std::vector<std::string>> {
    struct Names : Indifferent {
      std::vector<std::string> names;
      Result<void> Begin(std::string_view name) {
        names.push_back(Cp1250ToUtf8(name));
        return {};
      }
    } visitor;
    if (auto walked = Walk(file, visitor); !walked) return std::unexpected(walked.error());
    return std::move(visitor.names);
  });
}

Result<std::optional<LoadedBlock>> WczytajBlok(const std::filesystem::path& file,
                                               std::string_view name) {
  return Guarded(file, [&]() -> Result<std::optional<LoadedBlock>> {
    // Several blocks of one name: the last one in the file wins.
    std::optional<LoadedBlock> found;
    BlockCollector visitor;
    visitor.wanted = [&](std::string_view read) { return read == name; };
    visitor.take = [&](LoadedBlock&& block) { found = std::move(block); };
    if (auto walked = Walk(file, visitor); !walked) return std::unexpected(walked.error());
    return found;
  });
}

Result<std::vector<LoadedBlock>> WczytajWszystkieBloki(const std::filesystem::path& file) {
  return Guarded(file, [&]() -> Result<std::vector<LoadedBlock>> {
    std::vector<LoadedBlock> blocks;
    BlockCollector visitor;
    visitor.wanted = [](std::string_view) { return true; };
    visitor.take = [&](LoadedBlock&& block) { blocks.push_back(std::move(block)); };
    if (auto walked = Walk(file, visitor); !walked) return std::unexpected(walked.error());
    return blocks;
  });
}

Result<void> ReadBlockRecords(const std::filesystem::path& file, BlockRecordReader& reader) {
  return Guarded(file, [&]() -> Result<void> {
    struct Relay : Indifferent {
      BlockRecordReader* reader = nullptr;
      Result<void> Begin(std::string_view name_line) {
        reader->Begin(name_line);
        return {};
      }
      Result<void> Line(bool in_record, size_t offset, std::string_view text, std::string_view) {
        if (in_record && offset >= kFirstEntityOffset && text != kBlockEndMarker) {
          reader->Line(text);
        }
        return {};
      }
      Result<void> Empties(bool in_record, size_t, size_t count, std::uint64_t, std::uint64_t) {
        if (in_record) {
          for (size_t i = 0; i < count; ++i) reader->Line("");
        }
        return {};
      }
      Result<void> End(bool) {
        reader->End();
        return {};
      }
    } relay;
    relay.reader = &reader;
    auto fd = OpenTextFile(file);
    if (!fd) return std::unexpected(fd.error());
    do {
      if (::lseek(fd->get(), 0, SEEK_SET) != 0) {
        return std::unexpected(FileError("Nie można odczytać pliku", file, errno));
      }
      LineStream stream(fd->get(), file.string());
      if (auto walked = RecordWalk(stream).Run(relay); !walked) return walked;
    } while (reader.ReadAgain());
    return {};
  });
}

}  // namespace blok
