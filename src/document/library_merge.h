#pragma once

// Two lines of work on one library joined, block by block by name: blk merge, git's merge
// driver for libraries.

#include <filesystem>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "document/block_file.h"
#include "document/text_file.h"
#include "model/error.h"

namespace blok {

// A block that both sides changed, each its own way: ours stays under its name, theirs is kept
// beside it under theirs_as (empty when they removed it).
struct MergeConflict {
  std::string name;
  std::string theirs_as;
  bool ours_removed = false;
};

struct MergedLibrary {
  std::vector<LoadedBlock> blocks;
  std::vector<MergeConflict> conflicts;
};

// Each library by name (BlocksByName). A block one side changed, added or removed and the other
// left as base had it takes that side; the same change on both sides (or an addition that draws
// the same, SameDrawing) is made once. Where both sides changed it differently, or one removed
// what the other changed, ours stays and theirs is added as "NAME (konflikt)", numbered when
// that name is taken: nothing of either is lost. Ours' order, theirs' new blocks after.
MergedLibrary MergeLibraries(std::span<const LoadedBlock> base, std::span<const LoadedBlock> ours,
                             std::span<const LoadedBlock> theirs);

// "NAME (konflikt)", "NAME (konflikt 2)"... the first one not taken and a save takes
// (BlockNameProblem), the name shortened when it would be too long.
std::string ConflictName(std::string_view name, const std::function<bool(std::string_view)>& taken);

// What the merge tells of each conflict, a line each.
std::vector<std::string> ConflictLines(std::span<const MergeConflict> conflicts);

// The three files read, merged and the result written to out as saves write a library: every
// record checked first, then one replacement under its lock. Any failure leaves out as it was.
Result<MergedLibrary> MergeLibraryFiles(const std::filesystem::path& base,
                                        const std::filesystem::path& ours,
                                        const std::filesystem::path& theirs,
                                        const std::filesystem::path& out,
                                        const ReplaceOptions& options = {});

}  // namespace blok
