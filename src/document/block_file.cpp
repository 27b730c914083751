#include "document/block_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <functional>
#include <new>
#include <optional>
#include <span>
#include <utility>
#include <vector>

#include "document/block_record.h"
#include "document/library_lock.h"
#include "document/library_rules.h"
#include "document/line_stream.h"
#include "document/record_walk.h"
#include "document/text_file.h"
#include "model/cp1250.h"

namespace blok {
namespace {

using records::BlockCollector;
using records::CheckFields;
using records::Guarded;
using records::Indifferent;
using records::kNameOffset;
using records::RecordWalk;
using records::SameName;
using records::Walk;

// Copies the bytes [from, to) of the file open as fd into the replacement.
Result<void> CopyRange(int fd, const std::filesystem::path& file, std::uint64_t from,
                       std::uint64_t to, FileReplacement& out) {
  char buffer[1 << 16];
  while (from < to) {
    const size_t want = static_cast<size_t>(std::min<std::uint64_t>(sizeof buffer, to - from));
    const ssize_t got = ::pread(fd, buffer, want, static_cast<off_t>(from));
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) return std::unexpected(FileError("Nie można odczytać pliku", file, errno));
    if (auto written = out.Write({buffer, static_cast<size_t>(got)}); !written) return written;
    from += static_cast<std::uint64_t>(got);
  }
  return {};
}

// The library copied into a replacement without the records of a name, counting them. After a
// closed record the empty line that would have opened the next one goes too, but only when it
// is empty: nothing else is lost. Every kept line keeps its bytes, line end and all.
//
// A kept record that lost its end marker ends where the next record starts. When that next
// record goes, the kept one would run on into whatever follows and read as another block; it
// gets the end marker it lost instead, just after its last line, so that it reads as before.
//
// With rename_to, the records of the name are kept and get that name instead: only their name
// line changes. Whether some record already bears the new name is noted (taken()).
class CopyWithout : public Indifferent {
 public:
  CopyWithout(int fd, const std::filesystem::path& file, std::span<const std::string_view> names,
              FileReplacement& out, std::optional<std::string_view> rename_to = std::nullopt)
      : fd_(fd), file_(file), names_(names), rename_to_(rename_to), out_(out) {}

  Result<void> Begin(std::string_view name_line) {
    const auto name =
        std::ranges::find_if(names_, [&](std::string_view n) { return SameName(name_line, n); });
    const bool named = name != names_.end();
    renaming_ = named && rename_to_;
    dropping_ = named && !rename_to_;
    if (named) {
      ++removed_;
      if (std::ranges::find(removed_names_, *name) == removed_names_.end()) {
        removed_names_.push_back(*name);
      }
    }
    if (rename_to_ && SameName(name_line, *rename_to_)) taken_ = true;
    if (std::exchange(open_before_, false) && dropping_) {
      if (auto closed = out_.Write(kClosingLine); !closed) return closed;
      missing_end_ = "";
    }
    return FlushHeld();
  }
  Result<void> Line(bool in_record, size_t offset, std::string_view text, std::string_view bytes) {
    if (std::exchange(drop_empty_, false) && text.empty()) return {};
    if (in_record && dropping_) return {};
    // A last line without its LF reads with a CR at its end dropped, as any line does: what
    // completes it must keep it reading so.
    missing_end_ = bytes.ends_with('\n') ? "" : bytes.ends_with('\r') ? "\n" : "\r\n";
    if (in_record && renaming_ && offset == kNameOffset) {
      // The new name with the old line's own line end.
      const std::string renamed =
          Utf8ToCp1250(*rename_to_) + std::string(bytes.substr(text.size()));
      return out_.Write(renamed);
    }
    return out_.Write(bytes);
  }
  Result<void> Empties(bool in_record, size_t, size_t, std::uint64_t from, std::uint64_t to) {
    if (in_record && dropping_) return {};
    // The last of them may be the file's last line, a CR without its LF.
    char last = '\n';
    if (::pread(fd_, &last, 1, static_cast<off_t>(to - 1)) != 1) last = '\n';
    missing_end_ = last == '\r' ? "\n" : "";
    // The empty lines after an open record wait to learn whether its end marker goes before them.
    if (!in_record && open_before_) {
      held_ = {from, to};
      return {};
    }
    return CopyRange(fd_, file_, from, to, out_);
  }
  Result<void> End(bool terminated) {
    drop_empty_ = dropping_ && terminated;
    open_before_ = !terminated && !dropping_;
    return {};
  }
  // After the last line.
  Result<void> Finish() { return FlushHeld(); }

  size_t removed() const { return removed_; }
  // The names of which records went, each once, in the order they were met.
  const std::vector<std::string_view>& removed_names() const { return removed_names_; }
  bool taken() const { return taken_; }
  // What the last line copied lacks of a line end (nothing when there was none).
  std::string_view missing_end() const { return missing_end_; }

 private:
  int fd_;
  const std::filesystem::path& file_;
  std::span<const std::string_view> names_;
  std::optional<std::string_view> rename_to_;
  FileReplacement& out_;
  Result<void> FlushHeld() {
    if (!held_) return {};
    const auto [from, to] = *std::exchange(held_, std::nullopt);
    return CopyRange(fd_, file_, from, to, out_);
  }

  static constexpr std::string_view kClosingLine = "______________________________KONIEC\r\n";
  static_assert(kClosingLine.starts_with(kBlockEndMarker));

  bool dropping_ = false;
  bool renaming_ = false;
  bool taken_ = false;
  bool drop_empty_ = false;
  bool open_before_ = false;  // the last record was kept and lost its end marker
  std::optional<std::pair<std::uint64_t, std::uint64_t>> held_;
  std::string_view missing_end_;
  size_t removed_ = 0;
  std::vector<std::string_view> removed_names_;
};

// One read-modify-write of a library, under its lock: the records of remove_names left out,
// the new records appended in order. proceed(copy), asked before anything is written over the
// library, may still call it off; it learns from the copy what was removed. Returns the count
// of records removed.
// The library locked for a read-modify-write, once the records to append are known to be
// writable and the file replaceable; made when missing if create.
Result<LibraryLock> LockForRewrite(const std::filesystem::path& file, bool create,
                                   std::span<const BlockToSave* const> append,
                                   const ReplaceOptions& options) {
  for (const BlockToSave* block : append) {
    if (auto checked = CheckFields(file, *block); !checked) {
      return std::unexpected(checked.error());
    }
  }
  if (auto writable = CheckReplaceable(file); !writable) return std::unexpected(writable.error());
  auto lock = create ? LibraryLock::Acquire(file) : LibraryLock::AcquireExisting(file);
  if (!lock) return std::unexpected(lock.error());
  if (auto checked = CheckOpenTextFile(lock->fd(), file, options.limit); !checked) {
    return std::unexpected(checked.error());
  }
  // No other writer is at work now: what killed ones left beside the library can go.
  RemoveLeftovers(file);
  return lock;
}

Result<size_t> RewriteLocked(const LibraryLock& lock, const std::filesystem::path& file,
                             std::span<const std::string_view> remove_names,
                             std::span<const BlockToSave* const> append,
                             const std::function<bool(const CopyWithout&)>& proceed,
                             const ReplaceOptions& options,
                             std::optional<std::string_view> rename_to = std::nullopt);

Result<size_t> Rewrite(const std::filesystem::path& file, bool create,
                       std::span<const std::string_view> remove_names,
                       std::span<const BlockToSave* const> append,
                       const std::function<bool(const CopyWithout&)>& proceed,
                       const ReplaceOptions& options,
                       std::optional<std::string_view> rename_to = std::nullopt) {
  auto lock = LockForRewrite(file, create, append, options);
  if (!lock) return std::unexpected(lock.error());
  return RewriteLocked(*lock, file, remove_names, append, proceed, options, rename_to);
}

// Rewrite's work once the library is locked.
Result<size_t> RewriteLocked(const LibraryLock& lock, const std::filesystem::path& file,
                             std::span<const std::string_view> remove_names,
                             std::span<const BlockToSave* const> append,
                             const std::function<bool(const CopyWithout&)>& proceed,
                             const ReplaceOptions& options,
                             std::optional<std::string_view> rename_to) {
  auto out = FileReplacement::Begin(file, options);
  if (!out) return std::unexpected(out.error());
  if (::lseek(lock.fd(), 0, SEEK_SET) != 0) {
    return std::unexpected(FileError("Nie można odczytać pliku", file, errno));
  }
  LineStream stream(lock.fd(), file.string(), options.limit);
  CopyWithout copy(lock.fd(), file, remove_names, *out, rename_to);
  if (auto walked = RecordWalk(stream).Run(copy); !walked) {
    return std::unexpected(walked.error());
  }
  if (rename_to && copy.taken()) {
    return Fail("Nie zmieniono nazwy w pliku " + file.string() + ": blok " +
                std::string(*rename_to) + " już istnieje");
  }
  if (auto finished = copy.Finish(); !finished) return std::unexpected(finished.error());
  if (!append.empty()) {
    std::string bytes;
    // A last line without its line end would run into the record's first line.
    bytes += copy.missing_end();
    for (const BlockToSave* block : append) {
      for (const std::string& line : BlockRecordLines(*block)) AppendTextLine(bytes, line);
      // Written as it grows: many records need not be held in memory twice.
      if (auto written = out->Write(bytes); !written) return std::unexpected(written.error());
      bytes.clear();
    }
  } else if (copy.removed() == 0) {
    return 0;  // nothing to change: the file keeps its bytes and its inode
  }
  if (proceed && !proceed(copy)) return copy.removed();
  if (auto committed = out->Commit(); !committed) return std::unexpected(committed.error());
  return copy.removed();
}

// One name to remove, or none.
std::span<const std::string_view> Names(const std::optional<std::string_view>& name) {
  return name ? std::span<const std::string_view>(&*name, 1) : std::span<const std::string_view>();
}

}  // namespace

Result<size_t> UsunBlokZPliku(const std::filesystem::path& file, std::string_view name,
                              const ReplaceOptions& options) {
  return Guarded(file, [&] { return Rewrite(file, false, Names(name), {}, {}, options); });
}

Result<void> DopiszBlok(const std::filesystem::path& file, const BlockToSave& block,
                        const ReplaceOptions& options) {
  return Guarded(file, [&]() -> Result<void> {
    const BlockToSave* append = &block;
    auto written = Rewrite(file, true, {}, {&append, 1}, {}, options);
    if (!written) return std::unexpected(written.error());
    return {};
  });
}

Result<void> ZastapBlok(const std::filesystem::path& file, const BlockToSave& block,
                        const ReplaceOptions& options) {
  return Guarded(file, [&]() -> Result<void> {
    const BlockToSave* append = &block;
    const std::string_view name = block.name;
    auto written = Rewrite(file, false, {&name, 1}, {&append, 1}, {}, options);
    if (!written) return std::unexpected(written.error());
    return {};
  });
}

Result<SaveOutcome> ZapiszBlok(const std::filesystem::path& file, const BlockToSave& block,
                               const std::function<bool()>& may_replace,
                               const ReplaceOptions& options) {
  return Guarded(file, [&]() -> Result<SaveOutcome> {
    SaveOutcome outcome;
    const auto proceed = [&](const CopyWithout& copy) {
      outcome.replaced = copy.removed() > 0;
      outcome.written = !outcome.replaced || !may_replace || may_replace();
      return outcome.written;
    };
    const BlockToSave* append = &block;
    const std::string_view name = block.name;
    auto written = Rewrite(file, true, {&name, 1}, {&append, 1}, proceed, options);
    if (!written) return std::unexpected(written.error());
    return outcome;
  });
}

Result<BlocksSaveOutcome> SaveBlocks(const std::filesystem::path& file,
                                     const std::vector<BlockToSave>& blocks, bool replace,
                                     const ReplaceOptions& options) {
  return Guarded(file, [&]() -> Result<BlocksSaveOutcome> {
    std::vector<std::string_view> names;
    std::vector<const BlockToSave*> append;
    for (const BlockToSave& block : blocks) {
      names.push_back(block.name);
      append.push_back(&block);
    }
    BlocksSaveOutcome outcome;
    const auto proceed = [&](const CopyWithout& copy) {
      for (const std::string_view name : copy.removed_names()) outcome.existing.emplace_back(name);
      outcome.written = replace || outcome.existing.empty();
      return outcome.written;
    };
    if (blocks.empty()) return outcome;
    auto written = Rewrite(file, true, names, append, proceed, options);
    if (!written) return std::unexpected(written.error());
    return outcome;
  });
}

Result<size_t> RenameBlock(const std::filesystem::path& file, std::string_view old_name,
                           std::string_view new_name, const ReplaceOptions& options) {
  const std::string refused = "Nie zmieniono nazwy w pliku " + file.string() + ": ";
  if (CharacterCount(new_name) < kShortestName) {
    return Fail(refused + "nazwa musi mieć co najmniej " + std::to_string(kShortestName) +
                " znaki");
  }
  if (SameName(Utf8ToCp1250(new_name), old_name)) {
    return Fail(refused + "nowa nazwa jest taka sama jak dotychczasowa");
  }
  if (auto problem = BlockNameProblem(new_name)) return Fail(refused + *problem);
  const BlockToSave named{.name = std::string(new_name), .unit = "m", .lines = {}};
  if (auto checked = CheckFields(file, named); !checked) return std::unexpected(checked.error());
  return Guarded(file, [&] {
    return Rewrite(file, false, {&old_name, 1}, {}, {}, options, new_name);
  });
}

Result<SaveOutcome> KopiujBlok(const std::filesystem::path& from, std::string_view name,
                               const std::filesystem::path& to, std::string_view new_name,
                               const std::function<bool()>& may_replace,
                               const ReplaceOptions& options) {
  auto loaded = WczytajBlok(from, name);
  if (!loaded) return std::unexpected(loaded.error());
  if (!*loaded) return Fail("W pliku " + from.string() + " nie ma bloku " + std::string(name));
  const BlockToSave block{.name = std::string(new_name.empty() ? name : new_name),
                          .unit = std::move((*loaded)->unit),
                          .lines = std::move((*loaded)->lines),
                          .cut_at_255 = false,
                          .time = SaveTime::Now()};
  return ZapiszBlok(to, block, may_replace, options);
}

Result<BlocksCopyOutcome> KopiujBloki(
    const std::filesystem::path& from, const std::vector<std::string>& names,
    const std::filesystem::path& to,
    const std::function<std::optional<bool>(std::string_view name)>& may_replace,
    const ReplaceOptions& options) {
  return Guarded(to, [&]() -> Result<BlocksCopyOutcome> {
    std::vector<std::string> wanted;
    for (const std::string& name : names) {
      if (std::ranges::find(wanted, name) == wanted.end()) wanted.push_back(name);
    }
    // The blocks as loading finds them: the last record of each name.
    std::vector<std::optional<LoadedBlock>> found(wanted.size());
    BlockCollector collector;
    collector.wanted = [&](std::string_view read) {
      return std::ranges::find(wanted, read) != wanted.end();
    };
    collector.take = [&](LoadedBlock&& block) {
      found[static_cast<size_t>(std::ranges::find(wanted, block.name) - wanted.begin())] =
          std::move(block);
    };
    if (auto walked = Walk(from, collector); !walked) return std::unexpected(walked.error());
    std::vector<BlockToSave> blocks;
    const SaveTime now = SaveTime::Now();
    for (size_t i = 0; i < wanted.size(); ++i) {
      if (!found[i]) return Fail("W pliku " + from.string() + " nie ma bloku " + wanted[i]);
      blocks.push_back({.name = wanted[i],
                        .unit = std::move(found[i]->unit),
                        .lines = std::move(found[i]->lines),
                        .cut_at_255 = false,
                        .time = now});
    }
    std::vector<const BlockToSave*> all;
    for (const BlockToSave& block : blocks) all.push_back(&block);
    auto lock = LockForRewrite(to, true, all, options);
    if (!lock) return std::unexpected(lock.error());
    // Which of the names the target holds, read under the lock, so that the answers hold for
    // the file as it is written.
    struct Held : Indifferent {
      const std::vector<std::string>* names = nullptr;
      std::vector<bool> held;
      Result<void> Begin(std::string_view name_line) {
        for (size_t i = 0; i < names->size(); ++i) {
          if (SameName(name_line, (*names)[i])) held[i] = true;
        }
        return {};
      }
    } held;
    held.names = &wanted;
    held.held.assign(wanted.size(), false);
    if (::lseek(lock->fd(), 0, SEEK_SET) != 0) {
      return std::unexpected(FileError("Nie można odczytać pliku", to, errno));
    }
    LineStream stream(lock->fd(), to.string(), options.limit);
    if (auto walked = RecordWalk(stream).Run(held); !walked) {
      return std::unexpected(walked.error());
    }
    BlocksCopyOutcome outcome;
    std::vector<std::string_view> replaced;
    std::vector<const BlockToSave*> append;
    for (size_t i = 0; i < wanted.size(); ++i) {
      if (held.held[i]) {
        const std::optional<bool> replace = may_replace(wanted[i]);
        if (!replace) {
          outcome.called_off = true;
          outcome.copied.clear();
          return outcome;
        }
        if (!*replace) continue;
        replaced.push_back(wanted[i]);
      }
      append.push_back(&blocks[i]);
      outcome.copied.push_back(wanted[i]);
    }
    if (append.empty()) return outcome;
    auto written = RewriteLocked(*lock, to, replaced, append, {}, options);
    if (!written) return std::unexpected(written.error());
    return outcome;
  });
}

}  // namespace blok
