// sc: the selection scaled about a clicked base point by a typed factor.
#include <cmath>

#include "editing/transform.h"
#include "interaction/commands/common.h"
#include "interaction/commands/context.h"
#include "interaction/typed_input.h"

namespace blok {
namespace {

// Below this a typed scale factor is no factor at all.
constexpr double kSmallestFactor = 1e-6;

class Scale : public Command {
 public:
  explicit Scale(CommandContext& ctx) : ctx_(ctx) {}

  Awaited Awaits() const override {
    if (step_ == Step::kSelect) return Awaited::kSelection;
    // As for the base point of a rotation, the prompt asks for a point.
    return step_ == Step::kBase ? Awaited::kCentre : Awaited::kValue;
  }

  Released Release(int x, int y) override {
    if (ctx_.SelectByGesture(x, y)) {
      step_ = Step::kBase;
      ctx_.SetPickCursor(false);
    }
    return Released::kGoOn;
  }

  Reply Typed(const std::string& entry) override {
    // The base point may be typed as well as clicked.
    if (step_ == Step::kBase) {
      const std::optional<TypedPoint> p = ParsujPunkt(commands::Wrapped(entry));
      if (!p) return {};
      TakeBase(p->point);
      return Reply::Said("Wprowadzono wsp. ");
    }
    // A factor before the base point has nothing to scale about.
    const std::optional<double> factor = ParsujLiczbe(commands::Wrapped(entry));
    if (!factor || step_ != Step::kFactor || base_.x == kUnsetCoordinate) return {};
    // A zero factor would shrink the selection to its base point: asked again, not ignored.
    if (std::abs(*factor) <= kSmallestFactor) {
      return Reply::Said("Współczynnik skali nie może być zerem. Wpisz inny.");
    }
    const Scene s = ctx_.scene();
    ctx_.ApplyChanges(ScaleSelection(s.drawing.records(), s.selection, base_.x, base_.y,
                                     static_cast<float>(*factor)));
    ctx_.Redraw();
    ctx_.Reset();
    return Reply::Quietly();
  }

  void Press(int x, int y) override {
    if (step_ == Step::kBase) TakeBase(ctx_.Pointed(x, y, {}));
  }

  bool Preview(int x, int y) override {
    if (step_ == Step::kBase) {
      ctx_.RestoreView();
      ctx_.PointedWithoutOrtho(x, y);
      ctx_.PreviewSelectionMove(0, 0);
      ctx_.Label(x, y - 40, "PUNKT BAZOWY SKALOWANIA");
      return true;
    }
    if (step_ == Step::kFactor) {
      // The factor is typed: the selection stays shown about its base point.
      ctx_.RestoreView();
      ctx_.PreviewSelectionMove(0, 0);
      ctx_.LabelAtPoint(base_, "PUNKT BAZOWY SKALOWANIA");
      return true;
    }
    ctx_.PickWithLabel(x, y, "Wskaż OBIEKT do skalowania", -20);
    return true;
  }

  void Describe(Wskaz& w) const override {
    w.wybor = Awaits() == Awaited::kSelection;
    w.p0 = base_;
  }

 private:
  enum class Step { kSelect, kBase, kFactor };

  void TakeBase(Point p) {
    base_ = p;
    step_ = Step::kFactor;
    ctx_.Monit("Współczynnik :");
  }

  CommandContext& ctx_;
  Step step_ = Step::kSelect;
  Point base_ = kUnsetPoint;
};

}  // namespace

std::unique_ptr<Command> MakeScale(CommandContext& ctx) { return std::make_unique<Scale>(ctx); }

}  // namespace blok
