// a: an arc by its centre, radius, start angle and end angle.
#include <cmath>

#include "interaction/commands/centre.h"
#include "view/previews.h"
#include "view/renderer.h"

namespace blok {
namespace {

using commands::Fixed;

class Arc : public CentreCommand {
 public:
  explicit Arc(CommandContext& ctx) : CentreCommand(ctx, "LUK") {}

  Reply Typed(const std::string& entry) override {
    const std::string wrapped = commands::Wrapped(entry);
    if (step_ == Step::kEnd) {
      auto degrees = ParsujLiczbe(wrapped);
      if (!degrees) return {};
      double d = *degrees;
      if (static_cast<float>(d * kRadiansPerDegree) < a1_) d += 360;
      StepEnd(1, static_cast<float>(d * kRadiansPerDegree));
      return Reply::Said("Wprowadzono kat A2=" + Fixed(d, kFixed2Pattern8));
    }
    if (step_ == Step::kStart) {
      auto degrees = ParsujLiczbe(wrapped);
      if (!degrees) return {};
      const float a = static_cast<float>(*degrees * kRadiansPerDegree);
      // The side test of the end measures from a point on the start ray; a typed angle has
      // none.
      p1_ = {p0_.x + std::cos(a), p0_.y + std::sin(a)};
      StepStart(a);
      return Reply::Said("Wprowadzono kat A1=" + Fixed(*degrees, kFixed2Pattern8));
    }
    if (centre_step_ == CentreStep::kRadius) return TypedRadius(entry);
    return TypedCentre(entry);
  }

  void Press(int x, int y) override {
    if (centre_step_ == CentreStep::kCentre) {
      PressCentre(x, y);
    } else if (step_ == Step::kEnd) {
      p2_ = ctx_.Pointed(x, y, Ortho());
      const float a = static_cast<float>(DirectionAngle(p0_.x, p0_.y, p2_.x, p2_.y));
      StepEnd(Side(x, y), a);
    } else if (step_ == Step::kStart) {
      p1_ = ctx_.Pointed(x, y, Ortho());
      StepStart(static_cast<float>(DirectionAngle(p0_.x, p0_.y, p1_.x, p1_.y)));
    } else if (centre_step_ == CentreStep::kRadius) {
      PressRadius(x, y);
    }
  }

  bool Preview(int x, int y) override {
    // The overlay's canvas is taken after RestoreView, which ends the one before.
    const ViewTransform& view = ctx_.scene().view;
    if (centre_step_ == CentreStep::kRadius) {
      PreviewRadius(x, y);
      return true;
    }
    if (step_ == Step::kStart) {
      ctx_.RestoreView();
      Canvas& canvas = ctx_.overlay();
      const Point p = ctx_.Pointed(x, y, Ortho());
      DrawSegment(canvas, view, commands::kRed, commands::kRubberThickness, p0_.x, p0_.y, p.x, p.y);
      RubberCircle(canvas, view, commands::kGrey, commands::kRubberThickness, p0_.x, p0_.y, r_);
      ctx_.Label(x, y - 40,
                 "KAT pocz := " +
                     Fixed(DirectionAngle(p0_.x, p0_.y, p.x, p.y) * kDegreesPerRadian, "0.00"));
      return true;
    }
    if (step_ == Step::kEnd) {
      ctx_.RestoreView();
      Canvas& canvas = ctx_.overlay();
      const Point p = ctx_.Pointed(x, y, Ortho());
      DrawSegment(canvas, view, commands::kRed, commands::kRubberThickness, p0_.x, p0_.y, p.x, p.y);
      // The arc a click here would write.
      const float cursor = static_cast<float>(DirectionAngle(p0_.x, p0_.y, p.x, p.y));
      const ArcSweep sweep = WrittenArcSweep(a1_, cursor, Side(x, y));
      DrawArc(canvas, view, commands::kRed, 0, p0_.x, p0_.y, r_, sweep.start, sweep.end);
      return true;
    }
    return centre_step_ == CentreStep::kCentre && PreviewCentre(x, y, "PUNKT ŚRODKOWY");
  }

 private:
  enum class Step { kCentreOrRadius, kStart, kEnd };

  Awaited OwnAwaits() const override {
    if (step_ == Step::kStart) return Awaited::kAngle;
    return step_ == Step::kEnd ? Awaited::kEndAngle : Awaited::kNothing;
  }

  void AfterCentre() override {
    centre_step_ = CentreStep::kRadius;
    ctx_.Monit("Promień");
  }
  void AfterRadius() override {
    step_ = Step::kStart;
    ctx_.Monit("Kąt pocz.");
  }

  // Negative when the cursor lies counter-clockwise of the start ray.
  double Side(int x, int y) const {
    const Point c = ctx_.Raw(x, y);
    return -CrossAbout(p1_.x, p1_.y, p0_.x, p0_.y, c.x, c.y);
  }

  void StepStart(float a) {
    a1_ = a;
    step_ = Step::kEnd;
    ctx_.Monit("Kąt konc.");
  }

  void StepEnd(double side, float a) {
    ctx_.Apply(DodajLuk(p0_, r_, a1_, a, side, ctx_.Style()));
    ctx_.Reset();
    ctx_.Redraw();
  }

  Step step_ = Step::kCentreOrRadius;
  float a1_ = 0;
};

}  // namespace

std::unique_ptr<Command> MakeArc(CommandContext& ctx) { return std::make_unique<Arc>(ctx); }

}  // namespace blok
