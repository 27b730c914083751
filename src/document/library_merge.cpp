#include "document/library_merge.h"

#include <unordered_map>
#include <unordered_set>

#include "document/block_record.h"
#include "document/library_diff.h"
#include "document/library_lock.h"
#include "document/library_rules.h"
#include "document/record_walk.h"
#include "model/cp1250.h"

namespace blok {
namespace {

class ByName {
 public:
  explicit ByName(std::span<const LoadedBlock> blocks) {
    for (const LoadedBlock& block : blocks) index_[block.name] = &block;
  }
  const LoadedBlock* operator[](std::string_view name) const {
    const auto found = index_.find(name);
    return found == index_.end() ? nullptr : found->second;
  }

 private:
  std::unordered_map<std::string_view, const LoadedBlock*> index_;
};

// Both missing, or both there with the same content.
bool Same(const LoadedBlock* x, const LoadedBlock* y) {
  return x == nullptr || y == nullptr ? x == y : SameContent(*x, *y);
}

// The records as saves write them, every one checked before the library is touched, in one
// replacement under its lock.
Result<void> WriteLibrary(const std::filesystem::path& out, std::span<const LoadedBlock> blocks,
                          const ReplaceOptions& options) {
  std::vector<BlockToSave> records;
  for (const LoadedBlock& block : blocks) {
    BlockToSave record{block.name, block.unit, block.lines};
    // A record drops its last line when that is the editor's trailing line end: this one goes
    // in its place, so that every line read comes back.
    record.lines.emplace_back();
    if (auto checked = records::CheckFields(out, record); !checked) {
      return std::unexpected(checked.error());
    }
    records.push_back(std::move(record));
  }
  if (auto writable = CheckReplaceable(out); !writable) return std::unexpected(writable.error());
  auto lock = LibraryLock::Acquire(out);
  if (!lock) return std::unexpected(lock.error());
  RemoveLeftovers(out);
  auto replacement = FileReplacement::Begin(out, options);
  if (!replacement) return std::unexpected(replacement.error());
  std::string bytes;
  for (const BlockToSave& record : records) {
    for (const std::string& line : BlockRecordLines(record)) AppendTextLine(bytes, line);
    if (auto written = replacement->Write(bytes); !written) return written;
    bytes.clear();
  }
  return replacement->Commit();
}

}  // namespace

MergedLibrary MergeLibraries(std::span<const LoadedBlock> base, std::span<const LoadedBlock> ours,
                             std::span<const LoadedBlock> theirs) {
  const ByName in_base(base), in_ours(ours), in_theirs(theirs);
  MergedLibrary merged;
  std::vector<const LoadedBlock*> kept_aside;  // theirs, of each conflict that has one
  for (const LoadedBlock& o : ours) {
    const LoadedBlock* b = in_base[o.name];
    const LoadedBlock* t = in_theirs[o.name];
    if (Same(&o, t) || Same(t, b) || (t != nullptr && SameDrawing(o, *t))) {
      merged.blocks.push_back(o);
    } else if (Same(&o, b)) {
      if (t != nullptr) merged.blocks.push_back(*t);
    } else {
      merged.blocks.push_back(o);
      merged.conflicts.push_back({o.name, "", false});
      kept_aside.push_back(t);
    }
  }
  for (const LoadedBlock& t : theirs) {
    if (in_ours[t.name] != nullptr) continue;
    const LoadedBlock* b = in_base[t.name];
    if (b == nullptr) {
      merged.blocks.push_back(t);
    } else if (!SameContent(t, *b)) {
      merged.conflicts.push_back({t.name, "", true});
      kept_aside.push_back(&t);
    }
  }
  std::unordered_set<std::string> taken;
  for (const auto side : {ours, theirs}) {
    for (const LoadedBlock& block : side) taken.insert(block.name);
  }
  for (size_t i = 0; i < kept_aside.size(); ++i) {
    if (kept_aside[i] == nullptr) continue;
    LoadedBlock copy = *kept_aside[i];
    copy.name = ConflictName(
        copy.name, [&](std::string_view name) { return taken.contains(std::string(name)); });
    taken.insert(copy.name);
    merged.conflicts[i].theirs_as = copy.name;
    merged.blocks.push_back(std::move(copy));
  }
  return merged;
}

std::string ConflictName(std::string_view name,
                         const std::function<bool(std::string_view)>& taken) {
  for (int number = 1;; ++number) {
    const std::string mark =
        number == 1 ? " (konflikt)" : " (konflikt " + std::to_string(number) + ")";
    std::string stem(name);
    // A name at its longest gives up its last characters to the mark.
    while (!stem.empty() && BlockNameProblem(stem + mark)) {
      stem = CutToCharacters(stem, CharacterCount(stem) - 1);  // the last character whole
    }
    std::string candidate = stem + mark;
    if (!taken(candidate)) return candidate;
  }
}

std::vector<std::string> ConflictLines(std::span<const MergeConflict> conflicts) {
  std::vector<std::string> lines;
  for (const MergeConflict& conflict : conflicts) {
    std::string line = "konflikt: " + conflict.name + ": ";
    if (conflict.ours_removed) {
      line +=
          "usunięty u nas, zmieniony u nich; ich wersja zapisana jako „" + conflict.theirs_as + "”";
    } else if (conflict.theirs_as.empty()) {
      line += "zmieniony u nas, usunięty u nich; zostaje nasza wersja";
    } else {
      line += "zmieniony po obu stronach; ich wersja zapisana jako „" + conflict.theirs_as + "”";
    }
    lines.push_back(std::move(line));
  }
  return lines;
}

Result<MergedLibrary> MergeLibraryFiles(const std::filesystem::path& base,
                                        const std::filesystem::path& ours,
                                        const std::filesystem::path& theirs,
                                        const std::filesystem::path& out,
                                        const ReplaceOptions& options) {
  return records::Guarded(out, [&]() -> Result<MergedLibrary> {
    std::vector<LoadedBlock> sides[3];
    const std::filesystem::path* files[3] = {&base, &ours, &theirs};
    for (int i = 0; i < 3; ++i) {
      auto blocks = ReadBlocksByName(*files[i]);
      if (!blocks) return std::unexpected(blocks.error());
      sides[i] = std::move(*blocks);
    }
    MergedLibrary merged = MergeLibraries(sides[0], sides[1], sides[2]);
    if (auto written = WriteLibrary(out, merged.blocks, options); !written) {
      return std::unexpected(written.error());
    }
    return merged;
  });
}

}  // namespace blok
