// The editor's side of the block browser that follows the block files: which row a load or a
// save brings forward, and what another file leaves behind.

#include <algorithm>

#include "editor/library.h"

namespace blok {

void Library::ShowBlockRow(const std::string& name) {
  const std::string selected = block_list_.SelectedName();
  // A row the user picked after the last load or save is theirs: a save does not take it away.
  if (!selected.empty() && selected != shown_block_ && selected != name) return;
  shown_block_ = name;
  // The window shows the row alone selected.
  block_list_.Choose({});
  // Of two entries of one name, the one selected stays.
  if (selected != name) {
    const auto& names = block_list_.names();
    const auto found = std::ranges::find(names, name);
    if (found == names.end()) return;
    block_list_.Select(static_cast<size_t>(found - names.begin()));
  }
  if (!selected_block_row()) SetBlockFilter("");
  Notify(LibraryChange::kRow);
}

}  // namespace blok
