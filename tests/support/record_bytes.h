#pragma once

// A block record's bytes as the editor writes them, for tests that build a library by hand.
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "document/block_file.h"
#include "document/text_file.h"

namespace blok::testing {

// Name and lines in UTF-8; the record ends as the editor's, with its trailing line end.
inline std::string SavedRecordBytes(BlockToSave block) {
  block.lines.emplace_back();  // the editor's trailing line end, which the record leaves out
  std::string bytes;
  for (const std::string& line : BlockRecordLines(block)) AppendTextLine(bytes, line);
  return bytes;
}

inline std::string RecordBytes(std::string_view name, std::string_view unit,
                               std::initializer_list<std::string_view> lines) {
  return SavedRecordBytes({std::string(name), std::string(unit), {lines.begin(), lines.end()}});
}

// A library of these blocks' records, in this order; each reads back as it is given.
inline std::string LibraryBytes(const std::vector<LoadedBlock>& blocks) {
  std::string bytes;
  for (const LoadedBlock& block : blocks)
    bytes += SavedRecordBytes({block.name, block.unit, block.lines});
  return bytes;
}

}  // namespace blok::testing
