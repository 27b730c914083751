#pragma once

// Blocks that draw the same: blk dups, the window's Duplikaty and the twin marks of the block
// list all find them here.

#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "document/block_file.h"

namespace blok {

// What makes two drawings the same for a library keeper: the same shapes in any order, each as
// the editing operations would write it (CanonicalShapeText: numbers to 4 decimals, its colour and
// thickness as in force at its line), comments, blank and unreadable lines left out. Each shape
// is kept as a key of those fields, not as text: the keys sorted, for comparing and hashing only.
// Empty when the lines draw nothing. Lines in UTF-8.
std::string CanonicalDrawing(std::span<const std::string> lines);

// A block as the finder compares it; the views hold while the caller keeps what they show.
struct DrawnBlock {
  std::string_view name;
  std::string_view drawing;  // CanonicalDrawing
};

// The names of the blocks whose drawings are equal, groups of two or more, each in the order
// the blocks are given, groups by their first. Nothing drawn is no symbol to share.
std::vector<std::vector<std::string>> SameDrawings(std::span<const DrawnBlock> blocks);

struct DuplicateReport {
  // Names of blocks that draw the same, each group in the list's order; groups by their first.
  std::vector<std::vector<std::string>> same_drawings;
  // Names with more than one record in the file, and how many.
  std::vector<std::pair<std::string, int>> repeated_names;
  bool empty() const { return same_drawings.empty() && repeated_names.empty(); }
};

// The report for a library file, comparing the blocks as the list offers them: the last record
// of each name.
Result<DuplicateReport> FindDuplicatesInFile(const std::filesystem::path& file);

// The report as blk dups prints it and the window shows it, one finding a line.
std::vector<std::string> DuplicateReportLines(const DuplicateReport& report);

}  // namespace blok
