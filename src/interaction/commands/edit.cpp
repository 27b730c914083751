// ed: a click on an object opens its dialog; a selection gesture on empty ground, or one that
// Shift grew, opens "Zmiana cech" for what it caught.
#include "editing/picking.h"
#include "interaction/commands/context.h"

namespace blok {
namespace {

class Edit : public Command {
 public:
  explicit Edit(CommandContext& ctx) : ctx_(ctx) {}

  // A click on an object or a frame about several.
  Awaited Awaits() const override { return picking_ ? Awaited::kSelection : Awaited::kNothing; }

  void Press(int x, int y) override {
    // Only a press on an entity ends the edit mode; on empty ground the drag that follows
    // selects for "Zmiana cech", as does any gesture that adds to a selection.
    if (!picking_ || ctx_.growing()) return;
    const int index = ctx_.Pick(x, y);
    if (index < 0) return;
    picking_ = false;
    ctx_.EndFrame();
    ctx_.Redraw();
    ctx_.OpenEntityEditor(index);
    ctx_.Reset();
  }

  Released Release(int x, int y) override {
    if (!ctx_.SelectByGesture(x, y)) return Released::kGoOn;
    picking_ = false;
    ctx_.EndFrame();
    ctx_.RestoreView();
    ctx_.ChangeProperties();
    ctx_.Redraw();
    ctx_.Reset();
    return Released::kFinished;
  }

  bool Preview(int x, int y) override {
    if (!picking_) return false;
    ctx_.RestoreView();
    ctx_.PickShowingThickness(x, y);
    ctx_.Label(x, y + 20, "Wskaż OBIEKT do edycji");
    return true;
  }

  void Describe(Wskaz& w) const override { w.wybor = Awaits() == Awaited::kSelection; }

 private:
  CommandContext& ctx_;
  bool picking_ = true;
};

}  // namespace

std::unique_ptr<Command> MakeEdit(CommandContext& ctx) { return std::make_unique<Edit>(ctx); }

}  // namespace blok
