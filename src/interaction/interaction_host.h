#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "document/entity_clipboard.h"
#include "editing/edit_change.h"
#include "interaction/scene.h"
#include "view/surface.h"

namespace blok {

// Entities to insert: a library block's lines, or what the clipboard held, with the unit their
// numbers are in and the name the messages give them.
struct EntitySource {
  std::string name;
  std::string unit = "m";
  std::vector<std::string> lines;
};

// What the command machine needs of the Editor that owns it: the scene it reads, the one door
// for changing the drawing, the message pane, the view's surface, and the few things it asks of
// the window.
class InteractionHost {
 public:
  virtual ~InteractionHost() = default;

  // What commands read; only once the program has started.
  virtual Scene scene() = 0;
  // A block file is open, so drawing commands may start.
  virtual bool BlockOpen() const = 0;
  // The selection list and flags, whose lines every reset empties: also before the program has
  // started, when there is no scene yet.
  virtual Selection& selection() = 0;

  // An operation's changes, through the journal, in order; false, with the reason said, when
  // the operation left out some shapes and nothing was changed.
  virtual bool ApplyChanges(EditChanges changes) = 0;
  virtual void Komunikat(std::string text) = 0;
  virtual void SetOstatniePolecenie(std::string entry) = 0;
  virtual void Redraw() = 0;
  virtual Surface& surface() = 0;
  // The entity's dialog, filled from its line; confirmed, it rewrites the line.
  virtual void OpenEntityEditor(int index) = 0;
  // "Zmiana cech" for the selection.
  virtual void ChangeProperties() = 0;

  // The entity under the cursor was highlighted, or picked or selected by a click: a view of
  // the drawing's lines may show its line. Called on mouse moves: keep it cheap.
  virtual void EntityPointedAt(int index) { (void)index; }

  // --- Reusing blocks, and the system clipboard ---

  // The open library's block names, in the list's order, for completing a typed name.
  virtual std::vector<std::string> BlockNames() { return {}; }
  // The block selected in Lista bloków; empty when none is.
  virtual std::string SelectedBlockName() { return {}; }
  // A block of the open library as its file holds it now; nothing, with the reason said, when
  // it cannot be read or is not there.
  virtual std::optional<EntitySource> BlockToInsert(const std::string& name) {
    (void)name;
    return std::nullopt;
  }
  // The unit of the block being edited.
  virtual std::string BlockUnit() { return "m"; }
  virtual void PutEntitiesOnClipboard(std::string_view plain_text, std::string_view entities) {
    (void)plain_text, (void)entities;
  }
  virtual ClipboardContents ReadClipboard() { return {}; }

  virtual void SetPickCursor(bool pick) = 0;
  virtual void SetPrompt(std::string_view caption) = 0;
  virtual void FocusCommandEntry() = 0;
  virtual void ShowRelativePanel(bool visible) = 0;
  virtual void ShowHelp(const std::vector<std::string>& lines) = 0;
  virtual void ShowMessageBox(std::string_view text) = 0;
};

}  // namespace blok
