// The editor's side of the block browser that follows the block files: what another file
// leaves behind.

#include "editor/editor.h"

namespace blok {

void Editor::ResetBlockBrowser() {
  // A filter kept from the last file could hide every name of this one, with nothing saying why.
  block_filter_.SetText("");
}

}  // namespace blok
