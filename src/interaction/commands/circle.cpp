// o: a circle by its centre and radius.
#include "interaction/commands/centre.h"
#include "view/previews.h"
#include "view/renderer.h"

namespace blok {
namespace {

using commands::Fixed;

class Circle : public CentreCommand {
 public:
  explicit Circle(CommandContext& ctx) : CentreCommand(ctx, "OKRAG") {}

  Consumed Typed(const std::string& entry) override {
    std::string message;
    if (awaiting_radius_) {
      if (auto r = ParsujLiczbe(commands::Wrapped(entry))) {
        StepRadius(static_cast<float>(*r));
        message = "Wprowadzono promien R=" + Fixed(*r, kFixed2Pattern8);
      }
    }
    if (awaiting_centre_) {
      if (std::string m = TypedCentre(entry); !m.empty()) message = m;
    }
    return {message, false};
  }

  void Press(int x, int y) override {
    if (awaiting_centre_) {
      PressCentre(x, y);
    } else if (awaiting_radius_) {
      p1_ = ctx_.Pointed(x, y, Ortho());
      StepRadius(static_cast<float>(PointDistance(p0_.x, p0_.y, p1_.x, p1_.y)));
    }
  }

  bool Preview(int x, int y) override {
    if (awaiting_radius_) {
      ctx_.RestoreView();
      const Point p = ctx_.Pointed(x, y, Ortho());
      const double r = PointDistance(p0_.x, p0_.y, p.x, p.y);
      Canvas& canvas = ctx_.overlay();
      const ViewTransform& view = ctx_.host().view();
      RubberCircle(canvas, view, commands::kRed, commands::kRubberThickness, p0_.x, p0_.y, r);
      DrawSegment(canvas, view, commands::kYellow, commands::kRubberThickness, p0_.x, p0_.y, p.x,
                  p.y);
      ctx_.Label(x, y - 40, " R=" + Fixed(r));
      return true;
    }
    if (awaiting_centre_) {
      PreviewCentre(x, y);
      ctx_.Label(x, y - 40, "PUNKT ŚRODKOWY");
      return true;
    }
    return false;
  }

  void Describe(Wskaz& w) const override {
    CentreCommand::Describe(w);
    w.szukajR = awaiting_radius_;
    w.R = r_;
  }

 private:
  void AfterCentre() override {
    awaiting_radius_ = true;
    ctx_.Monit("Promień");
  }

  void StepRadius(float r) {
    awaiting_radius_ = false;
    r_ = r;
    ctx_.Apply(DodajOkrag(p0_, r_, ctx_.Style()));
    ctx_.host().Redraw();
  }

  bool awaiting_radius_ = false;
  float r_ = 0;
};

}  // namespace

std::unique_ptr<Command> MakeCircle(CommandContext& ctx) { return std::make_unique<Circle>(ctx); }

}  // namespace blok
