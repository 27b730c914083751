#pragma once

// What changed between two versions of a library, block by block, and a library as text: blk
// diff and blk textconv, for libraries kept in git.

#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "document/block_file.h"
#include "model/error.h"

namespace blok {

// A library as a diff and a merge see it: one block per name, the last record of each (the one
// loading finds), in the order of those records in the file. Earlier records of a name saved
// twice are copies no load reaches: they are neither compared nor kept.
std::vector<LoadedBlock> BlocksByName(std::vector<LoadedBlock> records);
Result<std::vector<LoadedBlock>> ReadBlocksByName(const std::filesystem::path& file);

// The same unit and the same lines: nothing a save would write differently.
bool SameContent(const LoadedBlock& a, const LoadedBlock& b);
// The same unit and the same drawing as the duplicate finder compares them (CanonicalDrawing),
// not empty: the lines may differ in order and in how their numbers are written.
bool SameDrawing(const LoadedBlock& a, const LoadedBlock& b);

enum class BlockChangeKind { kAdded, kRemoved, kRenamed, kChanged };

struct BlockChange {
  BlockChangeKind kind;
  LoadedBlock before;  // empty for an added block
  LoadedBlock after;   // empty for a removed one
};

// The blocks of a (by name) that b lacks, has under another name or has otherwise, and those of
// b that a lacks. A block that only a has and one that only b has make a rename when they draw
// the same (SameDrawing), paired in a's order. In the list's order of the name (the old one for
// a rename). Given names, only the changes of blocks bearing one of them on either side.
std::vector<BlockChange> DiffLibraries(std::span<const LoadedBlock> a,
                                       std::span<const LoadedBlock> b,
                                       std::span<const std::string> names = {});

// Each entity line of two drawings, in the order of a shortest edit from before to after.
enum class LineFate { kKept, kRemoved, kAdded };
struct DrawingLine {
  LineFate fate;
  std::string text;
};
std::vector<DrawingLine> CompareDrawings(std::span<const std::string> before,
                                         std::span<const std::string> after);

// The report, one block after another: "dodany: NAME", "usunięty: NAME",
// "przemianowany: OLD → NEW", and "zmieniony: NAME" followed by a unified diff of its lines
// ("--- A/NAME", "+++ B/NAME", "@@ -1,3 +1,4 @@" hunks), its unit line among them when that
// changed. a_label and b_label name the two libraries.
std::vector<std::string> DiffReportLines(std::span<const BlockChange> changes,
                                         std::string_view a_label, std::string_view b_label);

// A library as text for reading its history: its blocks in the list's order, each a header line
// "=== NAME (unit)" and its entity lines, a blank line between blocks.
std::vector<std::string> LibraryText(std::span<const LoadedBlock> blocks);

}  // namespace blok
