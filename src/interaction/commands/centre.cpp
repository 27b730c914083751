#include "interaction/commands/centre.h"

#include "view/previews.h"
#include "view/renderer.h"

namespace blok {

void CentreCommand::PreviewRadius(int x, int y) {
  ctx_.RestoreView();
  const Point p = ctx_.Pointed(x, y, Ortho());
  const double r = PointDistance(p0_.x, p0_.y, p.x, p.y);
  Canvas& canvas = ctx_.overlay();
  const ViewTransform& view = ctx_.scene().view;
  RubberCircle(canvas, view, commands::kRed, commands::kRubberThickness, p0_.x, p0_.y, r);
  DrawSegment(canvas, view, commands::kYellow, commands::kRubberThickness, p0_.x, p0_.y, p.x, p.y);
  ctx_.Label(x, y - 40, " R=" + commands::Fixed(r));
}

}  // namespace blok
