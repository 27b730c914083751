#include "document/block_file.h"

#include <cerrno>
#include <cstdio>
#include <ctime>

#include "document/text_file.h"
#include "model/cp1250.h"

namespace blok {
namespace {

// Lines past the end of the file read as empty, so the fixed skips of a header never fail.
std::string_view LineAt(const std::vector<std::string>& lines, size_t i) {
  return i < lines.size() ? std::string_view(lines[i]) : std::string_view();
}

// Whether line i opens the header of a block of that name: the start marker, the name label
// and then the name. Only the name line of a header counts; any other line equal to the name
// (the group value "null", an entity line) does not.
bool IsHeaderOf(const std::vector<std::string>& lines, size_t i, std::string_view name) {
  return lines[i] == kBlockStartMarker && LineAt(lines, i + 2) == name;
}

// Offsets within a record, counted from its start marker.
constexpr size_t kUnitOffset = 8;
constexpr size_t kFirstEntityOffset = 12;

// The index just past the end marker of the record starting at start (or the end of the file).
size_t RecordEnd(const std::vector<std::string>& lines, size_t start) {
  for (size_t i = start + 3; i < lines.size(); ++i) {
    if (lines[i] == kBlockEndMarker) return i + 1;
  }
  return lines.size();
}

std::string Encode(const std::vector<std::string>& lines) {
  std::string bytes;
  for (const std::string& line : lines) AppendTextLine(bytes, line);
  return bytes;
}

// The file's lines without the blocks of that name. After a dropped record the empty line that
// would have opened the next one goes too, but only when it is empty: nothing else is lost.
std::vector<std::string> WithoutBlock(const std::vector<std::string>& lines,
                                      std::string_view name) {
  std::vector<std::string> kept;
  kept.reserve(lines.size());
  for (size_t i = 0; i < lines.size();) {
    if (IsHeaderOf(lines, i, name)) {
      i = RecordEnd(lines, i);
      if (i < lines.size() && lines[i].empty()) ++i;
    } else {
      kept.push_back(lines[i++]);
    }
  }
  return kept;
}

Result<void> CheckFields(const std::filesystem::path& file, const BlockToSave& block) {
  const auto has_break = [](std::string_view s) {
    return s.find_first_of("\r\n") != std::string_view::npos;
  };
  if (has_break(block.name) || has_break(block.unit)) {
    return Fail("Nie zapisano bloku w pliku " + file.string() +
                ": nazwa i jednostka nie mogą zawierać końca wiersza");
  }
  for (const std::string& line : block.lines) {
    if (has_break(line)) {
      return Fail("Nie zapisano bloku w pliku " + file.string() +
                  ": linia rysunku zawiera koniec wiersza");
    }
  }
  return {};
}

// Bytes of the file as they stand, or empty for a file that does not exist yet.
Result<std::vector<std::string>> ExistingLines(const std::filesystem::path& file) {
  std::error_code ec;
  if (!std::filesystem::exists(file, ec) && !ec) return std::vector<std::string>{};
  return ReadTextLines(file);
}

}  // namespace

SaveTime SaveTime::Now() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
          local.tm_hour,        local.tm_min,     local.tm_sec};
}

std::string SaveTime::Date() const {
  char buffer[32];
  std::snprintf(buffer, sizeof(buffer), "%04d-%02d-%02d", year, month, day);
  return buffer;
}

std::string SaveTime::Time() const {
  char buffer[32];
  std::snprintf(buffer, sizeof(buffer), "%02d:%02d:%02d", hour, minute, second);
  return buffer;
}

Result<std::vector<std::string>> CzytajListeBlokow(const std::filesystem::path& file) {
  auto lines = ReadTextLines(file);
  if (!lines) return std::unexpected(lines.error());
  std::vector<std::string> names;
  for (size_t i = 0; i < lines->size(); ++i) {
    if ((*lines)[i] == kBlockStartMarker) {
      names.emplace_back(LineAt(*lines, i + 2));
      i += 6;  // name label, name, date, time, group label, group value
    }
  }
  return names;
}

Result<bool> BlokIstnieje(const std::filesystem::path& file, std::string_view name) {
  auto lines = ReadTextLines(file);
  if (!lines) return std::unexpected(lines.error());
  for (size_t i = 0; i < lines->size(); ++i) {
    if (IsHeaderOf(*lines, i, name)) return true;
  }
  return false;
}

Result<std::optional<LoadedBlock>> WczytajBlok(const std::filesystem::path& file,
                                               std::string_view name) {
  auto lines = ReadTextLines(file);
  if (!lines) return std::unexpected(lines.error());
  std::optional<LoadedBlock> block;
  for (size_t i = 0; i < lines->size();) {
    if (!IsHeaderOf(*lines, i, name)) {
      ++i;
      continue;
    }
    // Several blocks of one name: the last one in the file wins.
    block = LoadedBlock{std::string(name), std::string(LineAt(*lines, i + kUnitOffset)), {}};
    size_t j = i + kFirstEntityOffset;
    for (; j < lines->size() && (*lines)[j] != kBlockEndMarker; ++j) {
      block->lines.push_back((*lines)[j]);
    }
    i = j + 1;
  }
  return block;
}

std::vector<std::string> BlockRecordLines(const BlockToSave& block) {
  std::vector<std::string> out = {"",
                                  std::string(kBlockStartMarker),
                                  std::string(kNameLabel),
                                  block.name,
                                  block.time.Date(),
                                  block.time.Time(),
                                  std::string(kGroupLabel),
                                  std::string(kGroupValue),
                                  std::string(kUnitLabel),
                                  block.unit,
                                  std::string(kHeaderEnd),
                                  "",
                                  std::string(kDrawingMarker)};
  // An empty or one-character last line is the editor's trailing line end, not an entity.
  size_t count = block.lines.size();
  if (count > 0 && CharacterCount(block.lines.back()) <= 1) --count;
  for (size_t i = 0; i < count; ++i) {
    std::string_view line = block.lines[i];
    if (block.cut_at_255) {
      // Cut by characters of the file, never inside a UTF-8 sequence.
      size_t bytes = 0;
      for (size_t k = 0; k < kCutLineLength && bytes < line.size(); ++k) {
        DecodeUtf8(line, bytes);
      }
      line = line.substr(0, bytes);
    }
    out.emplace_back(line);
  }
  out.emplace_back(kBlockEndMarker);
  return out;
}

Result<void> UsunBlokZPliku(const std::filesystem::path& file, std::string_view name) {
  auto lines = ReadTextLines(file);
  if (!lines) return std::unexpected(lines.error());
  return ReplaceFileContents(file, Encode(WithoutBlock(*lines, name)));
}

Result<void> DopiszBlok(const std::filesystem::path& file, const BlockToSave& block) {
  if (auto checked = CheckFields(file, block); !checked) return checked;
  auto lines = ExistingLines(file);
  if (!lines) return std::unexpected(lines.error());
  for (std::string& line : BlockRecordLines(block)) lines->push_back(std::move(line));
  return ReplaceFileContents(file, Encode(*lines));
}

Result<void> ZastapBlok(const std::filesystem::path& file, const BlockToSave& block) {
  if (auto checked = CheckFields(file, block); !checked) return checked;
  auto lines = ReadTextLines(file);
  if (!lines) return std::unexpected(lines.error());
  std::vector<std::string> kept = WithoutBlock(*lines, block.name);
  for (std::string& line : BlockRecordLines(block)) kept.push_back(std::move(line));
  return ReplaceFileContents(file, Encode(kept));
}

}  // namespace blok
