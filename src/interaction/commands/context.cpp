#include "interaction/commands/context.h"

#include <utility>

#include "editing/picking.h"
#include "editing/selected_walk.h"
#include "editing/selection.h"
#include "interaction/command_machine.h"
#include "model/polish_plural.h"
#include "view/previews.h"

namespace blok {
namespace {

SnapSettings SnapsOf(const Settings& s) {
  return SnapSettings{.grid = s.grid_snap,
                      .ortho = s.ortho,
                      .end = s.snap_end,
                      .middle = s.snap_middle,
                      .centre = s.snap_centre,
                      .intersection = s.snap_intersection,
                      .perpendicular = s.snap_perpendicular,
                      .tangent = s.snap_tangent,
                      .nearest = s.snap_nearest,
                      .quadrant = s.snap_quadrant,
                      .grid_step = s.grid_step};
}

}  // namespace

void CommandContext::Reset() { machine_.AnulujPolecenie(); }

void CommandContext::Monit(std::string_view text) { machine_.Monit(text); }

Point CommandContext::Raw(int x, int y) const {
  const ViewTransform& view = scene().view;
  return {view.ScreenToWorldX(x), view.ScreenToWorldY(y)};
}

Point CommandContext::Pointed(int x, int y, const OrthoReference& ortho) {
  const Scene s = scene();
  return PunktWskazany(overlay(), s.drawing, s.view, s.font, SnapsOf(s.settings), ortho, x, y);
}

Point CommandContext::PointedWithoutOrtho(int x, int y) {
  const Scene s = scene();
  return PunktBezOrto(overlay(), s.drawing, s.view, s.font, SnapsOf(s.settings), x, y);
}

int CommandContext::Pick(int x, int y) {
  const Scene s = scene();
  const int index = PickAndHighlight(overlay(), s.drawing, s.view, s.font, s.defaults, x, y);
  if (index >= 0) host_.EntityPointedAt(index);
  return index;
}

int CommandContext::PickShowingThickness(int x, int y) {
  const Scene s = scene();
  const int index = PickAndShowThickness(overlay(), s.drawing, s.view, s.font, s.defaults, x, y);
  if (index >= 0) host_.EntityPointedAt(index);
  return index;
}

bool CommandContext::IsLine(int index) const {
  const auto records = scene().drawing.records();
  return index >= 0 && static_cast<size_t>(index) < records.size() &&
         records[index].kind == EntityKind::kLine && records[index].valid();
}

bool CommandContext::SelectByGesture(int x, int y) {
  const Scene s = scene();
  Selection& selection = s.selection;
  if (taking_gathered_) {
    taking_gathered_ = gathered_ = false;
    return !selection.empty();
  }
  const bool growing_selection = growing();
  // The flags may be an earlier command's: a step's first gesture starts from none.
  if (growing_selection && !gathered_) {
    selection.flags.clear();
    selection.count = 0;
  }
  const std::vector<std::uint8_t> before = selection.flags;
  Selection& target = growing_selection ? caught_ : selection;
  bool selected = blok::SelectByGesture(overlay(), s.drawing, s.view, s.font, s.defaults, target,
                                        frame_start_.x, frame_start_.y, x, y);
  if (growing_selection) {
    MergeSelection(selection, caught_, s.drawing.size(),
                   adding_ && IsClick(frame_start_.x, frame_start_.y, x, y));
    selected = !selection.empty();
  }
  // The first entity the gesture added is the one to show.
  for (size_t i = 0; selected && i < selection.flags.size(); ++i) {
    if (selection.flags[i] != 0 && (i >= before.size() || before[i] == 0)) {
      host_.EntityPointedAt(static_cast<int>(i));
      break;
    }
  }
  gathered_ = adding_;
  if (!adding_) return selected;
  host_.Komunikat(
      "Wybrano " +
      Counted(static_cast<long long>(selection.count), "obiekt", "obiekty", "obiektów") + ".");
  return false;
}

void CommandContext::ShowGathered() {
  if (gathered_) ShowSelection();
}

void CommandContext::ShowSelection() {
  const Scene s = scene();
  const std::vector<std::uint8_t>& flags = s.selection.flags;
  // Every flag, counted or not; each entity with the colour and thickness in force at it.
  ForSelectedFromLast(s.drawing.records(), flags, flags.size(), [&](size_t, ParsedEntity entity) {
    HighlightEntity(overlay(), s.view, s.font, entity, s.defaults);
  });
}

void CommandContext::RestoreView() { host_.surface().RestoreView(); }

Canvas& CommandContext::overlay() { return host_.surface().OverlayCanvas(); }

void CommandContext::Label(int px, int py, std::string_view text) {
  LabelAtPixel(overlay(), px, py, text);
}

void CommandContext::LabelAtPoint(Point p, std::string_view text) {
  const ViewTransform& view = scene().view;
  Label(view.WorldToScreenX(p.x), view.WorldToScreenY(p.y), text);
}

void CommandContext::PickWithLabel(int x, int y, std::string_view label, int offset) {
  RestoreView();
  Pick(x, y);
  if (!label.empty()) Label(x, y + offset, label);
}

void CommandContext::PreviewSelectionMove(double dx, double dy) {
  const Scene s = scene();
  // Each entity with the colour and thickness in force at it, as the redraw drew it.
  ForSelectedFromLast(
      s.drawing.records(), s.selection.flags, s.selection.count, [&](size_t, ParsedEntity entity) {
        PreviewMove(overlay(), s.view, s.font, std::move(entity), s.defaults, dx, dy);
      });
}

void CommandContext::PreviewLines(const EditChanges& changes) {
  const Scene s = scene();
  // The record an operation made with its line is the line read.
  for (const EditChange& change : changes) {
    if (change.record) {
      PreviewMove(overlay(), s.view, s.font, *change.record, s.defaults, 0, 0);
    } else {
      PreviewMove(overlay(), s.view, s.font, change.line, s.defaults, 0, 0);
    }
  }
}

void CommandContext::ShowEntity(int index) {
  const Scene s = scene();
  if (index < 0 || static_cast<size_t>(index) >= s.drawing.size()) return;
  PreviewMove(overlay(), s.view, s.font, s.drawing.records()[index], s.defaults, 0, 0);
}

EntityStyle CommandContext::Style() const {
  const Settings& s = scene().settings;
  return EntityStyle{s.colour, s.thickness_text};
}

void CommandContext::Apply(const WriterResult& result) {
  if (result.error) {
    host_.ShowMessageBox(*result.error);
    return;
  }
  EditChanges changes;
  changes.reserve(result.lines.size());
  for (const std::string& line : result.lines) {
    changes.push_back({EditChange::Kind::kAdd, -1, line});
  }
  host_.ApplyChanges(std::move(changes));
  if (!result.message.empty()) host_.Komunikat(result.message);
}

}  // namespace blok
