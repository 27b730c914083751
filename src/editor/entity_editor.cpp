#include "editor/entity_editor.h"

#include <variant>

#include "editing/canonical.h"
#include "model/entity_reader.h"

namespace blok {
namespace {

// The change a dialog makes: the line its apply built, when the user confirmed.
template <typename Model>
std::optional<EditChange> Edited(Model& model, bool confirmed) {
  if (!confirmed || !model.result) return std::nullopt;
  if (model.nr < 0) return EditChange{EditChange::Kind::kAdd, -1, *model.result};
  return EditChange{EditChange::Kind::kReplace, model.nr, *model.result};
}

}  // namespace

std::optional<EditChange> EntityEditor::Open(Ui& ui, std::span<const ParsedEntity> records,
                                             std::span<const std::string> lines, int index) {
  if (index < 0 || static_cast<size_t>(index) >= lines.size() ||
      static_cast<size_t>(index) >= records.size()) {
    return std::nullopt;
  }
  // Read again with what is in force at the line, so that a line without its own colour or
  // thickness shows those it is drawn with.
  const std::string& line = lines[index];
  const EntityRecord record = ReadEntity(line, DefaultsAt(records, index));
  if (!IsValid(record)) return std::nullopt;
  switch (ClassifyLine(line)) {
    case EntityKind::kLine:
    case EntityKind::kRectangle:
      line_.Fill(std::get<SegmentRecord>(record), index);
      return Edited(line_, ui.EditLine(line_));
    case EntityKind::kCircle:
      circle_.Fill(std::get<CircleRecord>(record), index);
      return Edited(circle_, ui.EditCircle(circle_));
    case EntityKind::kArc:
      circle_.Fill(std::get<ArcRecord>(record), index);
      return Edited(circle_, ui.EditCircle(circle_));
    case EntityKind::kText:
      text_.Fill(std::get<TextRecord>(record), index);
      return Edited(text_, ui.EditText(text_));
    default:
      return std::nullopt;
  }
}

std::optional<PropertyChange> EntityEditor::ChangeProperties(Ui& ui) {
  properties_.Show();
  if (!ui.ChangeProperties(properties_) || !properties_.result) return std::nullopt;
  return properties_.result;
}

}  // namespace blok
