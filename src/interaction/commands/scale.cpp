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

  bool Selecting() const override { return step_ == Step::kSelect; }

  Released Release(int x, int y) override {
    if (ctx_.SelectByGesture(x, y)) {
      step_ = Step::kBase;
      ctx_.host().SetPickCursor(false);
    }
    return Released::kGoOn;
  }

  Consumed Typed(const std::string& entry) override {
    // A factor before the base point has nothing to scale about.
    const std::optional<double> factor = ParsujLiczbe(commands::Wrapped(entry));
    if (!factor || step_ != Step::kFactor || base_.x == kUnsetCoordinate) return {};
    if (std::abs(*factor) > kSmallestFactor) {
      ctx_.ApplyChanges(ScaleSelection(ctx_.host().drawing().records(), ctx_.host().selection(),
                                       base_.x, base_.y, static_cast<float>(*factor)));
      ctx_.host().Redraw();
    }
    ctx_.Reset();
    return {"", true};
  }

  void Press(int x, int y) override {
    if (step_ != Step::kBase) return;
    base_ = ctx_.Pointed(x, y, {});
    step_ = Step::kFactor;
    ctx_.Monit("Współczynnik :");
  }

  bool Preview(int x, int y) override {
    if (step_ == Step::kBase) {
      ctx_.RestoreView();
      ctx_.PointedWithoutOrtho(x, y);
      ctx_.PreviewSelectionMove(0, 0);
      ctx_.Label(x, y - 40, "PUNKT BAZOWY SKALOWANIA");
      return true;
    }
    ctx_.PickWithLabel(x, y, "Wskaż OBIEKT do skalowania", -20);
    return true;
  }

  void Describe(Wskaz& w) const override {
    w.skaluj = true;
    w.wybor = step_ == Step::kSelect;
    w.skalujBaza = step_ == Step::kBase;
    w.p0 = base_;
  }

 private:
  enum class Step { kSelect, kBase, kFactor };

  CommandContext& ctx_;
  Step step_ = Step::kSelect;
  Point base_ = kUnsetPoint;
};

}  // namespace

std::unique_ptr<Command> MakeScale(CommandContext& ctx) { return std::make_unique<Scale>(ctx); }

}  // namespace blok
