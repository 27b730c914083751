// ks and ws: the selection put on the system clipboard, its numbers taken from a base point
// (Enter: the lower left corner of what is selected), and for ws deleted after.
#include <utility>

#include "document/entity_clipboard.h"
#include "editing/chamfer_offset.h"
#include "editing/transform.h"
#include "interaction/commands/centre.h"
#include "model/polish_plural.h"
#include "view/view_transform.h"

namespace blok {
namespace {

class ClipboardCopy : public CentreCommand {
 public:
  ClipboardCopy(CommandContext& ctx, bool cut)
      : CentreCommand(ctx, cut ? "WYTNIJ" : "KOPIUJSCH"), cut_(cut) {
    centre_step_ = CentreStep::kOwn;
  }

  Released Release(int x, int y) override {
    if (ctx_.SelectByGesture(x, y)) {
      selecting_ = false;
      centre_step_ = CentreStep::kCentre;
      ctx_.SetPickCursor(false);
      ctx_.Komunikat("Wskaż punkt bazowy lub Enter: lewy dolny róg wybranych obiektów.");
    }
    return Released::kGoOn;
  }

  // The typed base point, or Enter for the corner: what was copied is the answer.
  Reply Typed(const std::string& entry) override {
    if (centre_step_ != CentreStep::kCentre) return {};
    if (entry.empty()) {
      p0_ = LowerLeft();
    } else {
      auto p = ParsujPunkt(commands::Wrapped(entry));
      if (!p) return {};
      p0_ = p->point;
    }
    return Reply::Said(Copy());
  }

  void Press(int x, int y) override {
    if (centre_step_ == CentreStep::kCentre) PressCentre(x, y);
  }

  bool Preview(int x, int y) override {
    if (selecting_) {
      ctx_.PickWithLabel(x, y, cut_ ? "Wskaż OBIEKT do wycięcia" : "Wskaż OBIEKT do skopiowania",
                         -20);
      return true;
    }
    if (centre_step_ != CentreStep::kCentre) return false;
    PreviewCentre(x, y, "PUNKT BAZOWY");
    ctx_.ShowSelection();
    return true;
  }

  void Describe(Wskaz& w) const override {
    CentreCommand::Describe(w);
    w.szukaj = selecting_;
  }

 private:
  Awaited OwnAwaits() const override {
    return selecting_ ? Awaited::kSelection : Awaited::kNothing;
  }

  // The corner of the box round the selected entities.
  Point LowerLeft() {
    const Scene s = ctx_.scene();
    const auto records = s.drawing.records();
    std::vector<ParsedEntity> selected;
    for (size_t i = 0; i < records.size() && i < s.selection.flags.size(); ++i) {
      if (s.selection.flags[i] != 0) selected.push_back(records[i]);
    }
    const DrawingExtents box = ComputeExtents(selected, s.font);
    if (box.empty()) return {0, 0};
    return {box.xmin, box.ymin};
  }

  void AfterCentre() override { ctx_.Komunikat(Copy()); }

  // The selection on the clipboard from p0_, and deleted for a cut; the command ends. What was
  // done, to be said.
  std::string Copy() {
    const Scene s = ctx_.scene();
    const auto records = s.drawing.records();
    EditChanges copies =
        CopySelection(records, s.selection, static_cast<float>(-p0_.x), static_cast<float>(-p0_.y));
    if (copies.unwritable > 0) {
      ctx_.Reset();
      return "Nic nie skopiowano: od tego punktu nie da się zapisać obiektów: " +
             std::to_string(copies.unwritable) + ".";
    }
    std::vector<std::string> lines;
    lines.reserve(copies.size());
    for (EditChange& copy : copies) lines.push_back(std::move(copy.line));
    const ClipboardContents forms = ClipboardForms(lines, ctx_.host().BlockUnit());
    ctx_.host().PutEntitiesOnClipboard(forms.text, *forms.entities);
    const std::string count = Counted(lines.size(), "obiekt", "obiekty", "obiektów");
    const bool cut = cut_ && ctx_.ApplyChanges(DeleteSelection(records, s.selection));
    ctx_.Reset();
    ctx_.Redraw();
    return (cut ? "Wycięto do schowka " : "Skopiowano do schowka ") + count + ".";
  }

  bool cut_;
  bool selecting_ = true;
};

}  // namespace

std::unique_ptr<Command> MakeCopyToClipboard(CommandContext& ctx) {
  return std::make_unique<ClipboardCopy>(ctx, false);
}
std::unique_ptr<Command> MakeCutToClipboard(CommandContext& ctx) {
  return std::make_unique<ClipboardCopy>(ctx, true);
}

}  // namespace blok
