#include "interaction/commands/two_point.h"

#include "interaction/commands/common.h"
#include "interaction/typed_input.h"
#include "view/renderer.h"

namespace blok {

using commands::Fixed;

void TwoPointCommand::RubberBand(Point cursor) {
  DrawSegment(ctx_.overlay(), ctx_.scene().view, commands::kGreen, 0, p1_.x, p1_.y, cursor.x,
              cursor.y);
}

std::string TwoPointCommand::StepFirst(Point point) {
  p1_ = orto_ = point;
  has_orto_ = true;
  point_step_ = PointStep::kSecond;
  ctx_.ShowRelativePanel(true);
  return "Wprowadzono wsp. poczatkowa " + FormatXY(point.x, point.y);
}

std::string TwoPointCommand::StepSecond(Point point) {
  p2_ = point;
  Second();
  ctx_.Redraw();
  return "Wprowadzono wsp. koncowa " + FormatXY(point.x, point.y);
}

Awaited TwoPointCommand::Awaits() const {
  if (point_step_ == PointStep::kNone) return Awaited::kNothing;
  return point_step_ == PointStep::kFirst ? Awaited::kFirstPoint : Awaited::kSecondPoint;
}

Reply TwoPointCommand::Typed(const std::string& entry) {
  const std::string wrapped = commands::Wrapped(entry);
  if (point_step_ == PointStep::kSecond) {
    if (auto p = ParsujPunkt(wrapped)) return Reply::Said(StepSecond(p->point));
  } else if (point_step_ == PointStep::kFirst) {
    if (entry.find(',') != std::string::npos) {
      if (auto p = ParsujPunkt(wrapped)) return Reply::Said(StepFirst(p->point));
    } else if (auto d = ParsujLiczbe(wrapped)) {
      point_step_ = PointStep::kNone;
      p1_ = {0, 0};
      return Reply::Said(StepSecond({*d, 0}));
    }
  }
  return {};
}

void TwoPointCommand::Press(int x, int y) {
  if (point_step_ == PointStep::kSecond) {
    StepSecond(ctx_.Pointed(x, y, Ortho()));
  } else if (point_step_ == PointStep::kFirst) {
    StepFirst(ctx_.Pointed(x, y, Ortho()));
  }
}

bool TwoPointCommand::Preview(int x, int y) {
  if (point_step_ == PointStep::kSecond) {
    ctx_.RestoreView();
    const Point p = ctx_.Pointed(x, y, Ortho());
    RubberBand(p);
    // The selection follows the cursor itself, as it will be displaced.
    const Point raw = ctx_.Raw(x, y);
    PreviewShift(raw.x - p1_.x, raw.y - p1_.y);
    PreviewSecond(p);
    const double dx = p.x - p1_.x;
    const double dy = p.y - p1_.y;
    ctx_.Label(x, y - 35,
               "dx=" + Fixed(dx) + " dy=" + Fixed(dy) +
                   " L=" + Fixed(PointDistance(p1_.x, p1_.y, p.x, p.y)) +
                   " A=" + Fixed(DirectionAngle(p1_.x, p1_.y, p.x, p.y) * kDegreesPerRadian));
    return true;
  }
  if (point_step_ == PointStep::kFirst) {
    ctx_.RestoreView();
    ctx_.PointedWithoutOrtho(x, y);
    PreviewShift(0, 0);
    return true;
  }
  return false;
}

void TwoPointCommand::Describe(Wskaz& w) const {
  w.Polecenie = name_;
  w.P1 = p1_;
  w.P2 = p2_;
  w.ORTOJest = orto_;
  w.maOrto = has_orto_;
}

}  // namespace blok
