#pragma once

// A block record's bytes as the editor writes them, for tests that build a library by hand.
#include <initializer_list>
#include <string>
#include <string_view>

#include "document/block_file.h"
#include "document/text_file.h"

namespace blok::testing {

// Name and lines in UTF-8; the record ends as the editor's, with its trailing line end.
inline std::string RecordBytes(std::string_view name, std::string_view unit,
                               std::initializer_list<std::string_view> lines) {
  BlockToSave block{std::string(name), std::string(unit), {lines.begin(), lines.end()}};
  block.lines.emplace_back();  // the editor's trailing line end, which the record leaves out
  std::string bytes;
  for (const std::string& line : BlockRecordLines(block)) AppendTextLine(bytes, line);
  return bytes;
}

}  // namespace blok::testing
