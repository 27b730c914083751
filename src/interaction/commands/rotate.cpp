// ob: the selection turned about a base point, by a typed angle or the cursor's direction.
#include "editing/selected_walk.h"
#include "editing/transform.h"
#include "interaction/commands/centre.h"
#include "view/previews.h"

namespace blok {
namespace {

using commands::Fixed;

class Rotate : public CentreCommand {
 public:
  explicit Rotate(CommandContext& ctx) : CentreCommand(ctx, "OBROT") {
    centre_step_ = CentreStep::kOwn;
  }

  Released Release(int x, int y) override {
    if (ctx_.SelectByGesture(x, y)) {
      step_ = Step::kBase;
      centre_step_ = CentreStep::kCentre;
      ctx_.SetPickCursor(false);
    }
    return Released::kGoOn;
  }

  Reply Typed(const std::string& entry) override {
    if (step_ == Step::kAngle) {
      auto degrees = ParsujLiczbe(commands::Wrapped(entry));
      if (!degrees) return {};
      StepAngle(static_cast<float>(*degrees * kRadiansPerDegree));
      return Reply::Said("Wprowadzono kat A1=" + Fixed(*degrees, kFixed2Pattern8));
    }
    return TypedCentre(entry);
  }

  void Press(int x, int y) override {
    if (centre_step_ == CentreStep::kCentre) {
      PressCentre(x, y);
    } else if (step_ == Step::kAngle) {
      p1_ = ctx_.Pointed(x, y, Ortho());
      // The rotation turns by the direction its preview showed.
      StepAngle(Direction(p1_));
    }
  }

  bool Preview(int x, int y) override {
    if (step_ == Step::kAngle) {
      ctx_.RestoreView();
      const Point p = ctx_.Pointed(x, y, Ortho());
      const double angle = Direction(p);
      const Scene s = ctx_.scene();
      // Each entity with the colour and thickness in force at it, as the redraw drew it.
      ForSelectedFromLast(s.drawing.records(), s.selection.flags, s.selection.count,
                          [&](size_t, ParsedEntity entity) {
                            PreviewRotate(ctx_.overlay(), s.view, s.font, std::move(entity),
                                          s.defaults, angle, p0_.x, p0_.y);
                          });
      ctx_.LabelAtPoint(p0_, "alfa = " + Fixed(angle, kFixed2Pattern7));
      return true;
    }
    if (step_ == Step::kSelect) {
      ctx_.PickWithLabel(x, y, "Wskaż OBIEKT do obrotu", -20);
      return true;
    }
    return centre_step_ == CentreStep::kCentre && PreviewCentre(x, y, "PUNKT BAZOWY OBROTU");
  }

  void Describe(Wskaz& w) const override {
    CentreCommand::Describe(w);
    w.szukaj = step_ == Step::kSelect;
  }

 private:
  enum class Step { kSelect, kBase, kAngle };

  Awaited OwnAwaits() const override {
    if (step_ == Step::kSelect) return Awaited::kSelection;
    return step_ == Step::kAngle ? Awaited::kAngle : Awaited::kNothing;
  }

  float Direction(Point p) const {
    return VectorAngle(static_cast<float>(p0_.x), static_cast<float>(p0_.y),
                       static_cast<float>(p.x), static_cast<float>(p.y));
  }

  void AfterCentre() override {
    step_ = Step::kAngle;
    ctx_.Monit("Kąt obrotu");
  }

  void StepAngle(float a) {
    const Scene s = ctx_.scene();
    ctx_.ApplyChanges(RotateSelection(s.drawing.records(), s.selection, p0_.x, p0_.y, a));
    // The rotation ends the command, as a move does: left at its angle step, the prompt would
    // go on asking for an angle that nothing takes any more.
    ctx_.Reset();
    ctx_.Redraw();
  }

  Step step_ = Step::kSelect;
};

}  // namespace

std::unique_ptr<Command> MakeRotate(CommandContext& ctx) { return std::make_unique<Rotate>(ctx); }

}  // namespace blok
