#pragma once

#include <optional>
#include <span>
#include <string>

#include "editing/edit_change.h"
#include "editing/transform.h"
#include "editor/ui.h"
#include "interaction/entity_dialogs.h"
#include "model/parsed_entity.h"

namespace blok {

// The entity dialogs and "Zmiana cech" behind the Editor. The forms live for the whole run, so
// their models live here: what a field held last time is there at the next opening.
class EntityEditor {
 public:
  // Opens the dialog of the entity at index (a valid line, rectangle, circle, arc or text; any
  // other line opens nothing), filled from its line with the colour and thickness in force
  // there. The change to make when the user confirmed: the line replacing entity nr, or added
  // when nr is negative.
  std::optional<EditChange> Open(Ui& ui, std::span<const ParsedEntity> records,
                                 std::span<const std::string> lines, int index);
  // "Zmiana cech", every box cleared at showing; the properties to set when the user confirmed.
  std::optional<PropertyChange> ChangeProperties(Ui& ui);

  const LineDialogModel& line_dialog() const { return line_; }
  const CircleDialogModel& circle_dialog() const { return circle_; }
  const TextDialogModel& text_dialog() const { return text_; }
  const PropertiesDialogModel& properties_dialog() const { return properties_; }

 private:
  LineDialogModel line_;
  CircleDialogModel circle_;
  TextDialogModel text_;
  PropertiesDialogModel properties_;
};

}  // namespace blok
