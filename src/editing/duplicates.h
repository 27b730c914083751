#pragma once

#include <cstddef>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

#include "document/block_file.h"

namespace blok {

// What makes two drawings the same for a library keeper: the same shapes in any order, each as
// the editing operations would write it (numbers to 4 decimals, its colour and thickness as in
// force at its line), comments, blank and unreadable lines left out. One text, shapes sorted.
std::string DrawingKey(std::span<const std::string> lines);

struct DuplicateReport {
  // Names of blocks that draw the same, each group in the list's order; groups by their first.
  std::vector<std::vector<std::string>> same_drawings;
  // Names with more than one record in the file, and how many.
  std::vector<std::pair<std::string, int>> repeated_names;
  bool empty() const { return same_drawings.empty() && repeated_names.empty(); }
};

// Compares the blocks as the list offers them: the last record of each name.
DuplicateReport FindDuplicates(const std::vector<LoadedBlock>& records);

// The same report for a library file, read in one pass (blk dups, the window's Duplikaty):
// every drawing gets a cheap signature first, and only drawings whose signatures meet are
// compared by their keys. Their lines are kept from the reading while the library's lines
// take at most kept_bytes; a larger library is read a second time for them instead.
inline constexpr std::size_t kLinesKeptForTwins = 64 * 1024 * 1024;
Result<DuplicateReport> FindDuplicatesInFile(const std::filesystem::path& file,
                                             std::size_t kept_bytes = kLinesKeptForTwins);

// The report as blk dups prints it and the window shows it, one finding a line.
std::vector<std::string> DuplicateReportLines(const DuplicateReport& report);

}  // namespace blok
