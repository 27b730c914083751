#pragma once

#include <cstdint>
#include <span>

#include "editing/edit_change.h"
#include "model/parsed_entity.h"

namespace blok {

// Copies of the selection in rows and columns: cell (r, c) is the selection moved by
// (c x column_spacing, r x row_spacing) in single precision, cell (0, 0) the originals
// themselves. Each cell's copies are added as CopySelection adds them, cells row by row. Spacing
// may be negative; fewer than one row or column adds nothing.
EditChanges ArraySelection(std::span<const ParsedEntity> records, const Selection& selection,
                           int rows, int columns, double row_spacing, double column_spacing);

// How many lines ArraySelection would add at most, (rows x columns - 1) x the selected lines,
// so that the command can refuse a huge array before building it. Saturates rather than wraps.
std::uint64_t ArrayLineCount(const Selection& selection, int rows, int columns);

}  // namespace blok
