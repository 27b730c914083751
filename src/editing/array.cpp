#include "editing/array.h"

#include <iterator>
#include <limits>
#include <utility>

#include "editing/transform.h"

namespace blok {

EditChanges ArraySelection(std::span<const ParsedEntity> records, const Selection& selection,
                           int rows, int columns, double row_spacing, double column_spacing) {
  EditChanges changes;
  // An empty selection would still walk every cell.
  if (rows < 1 || columns < 1 || selection.empty()) return changes;
  for (int r = 0; r < rows; ++r) {
    for (int c = 0; c < columns; ++c) {
      if (r == 0 && c == 0) continue;
      EditChanges cell = CopySelection(records, selection, static_cast<float>(c * column_spacing),
                                       static_cast<float>(r * row_spacing));
      changes.insert(changes.end(), std::make_move_iterator(cell.begin()),
                     std::make_move_iterator(cell.end()));
      changes.unwritable += cell.unwritable;
    }
  }
  return changes;
}

std::uint64_t ArrayLineCount(const Selection& selection, int rows, int columns) {
  if (rows < 1 || columns < 1) return 0;
  // Both below 2^31, so the product and the cells fit.
  const std::uint64_t cells = std::uint64_t(rows) * std::uint64_t(columns) - 1;
  const std::uint64_t lines = selection.count;
  if (lines != 0 && cells > std::numeric_limits<std::uint64_t>::max() / lines) {
    return std::numeric_limits<std::uint64_t>::max();
  }
  return cells * lines;
}

}  // namespace blok
