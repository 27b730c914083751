#include "editing/mirror.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "editing/canonical.h"
#include "editing/selected_walk.h"
#include "model/angles.h"
#include "model/entity_visit.h"

namespace blok {
namespace {

// An axis this close to level or plumb keeps a rectangle a rectangle, as a turn this close to a
// right angle does.
constexpr double kAxisParallelTolerance = 1e-6;
// An angle this close below a full turn is written as 0, not as 360.
constexpr double kFullTurnSlack = 1e-9;

// Degrees brought into [0, 360).
double WrappedDegrees(double degrees) {
  double wrapped = degrees - 360 * std::floor(degrees / 360);
  if (wrapped >= 360 - kFullTurnSlack) wrapped = 0;
  return wrapped;
}

// Reflection about the line through a with the unit direction (ux, uy). With the axis level or
// plumb the products are exact, so the image of a point on the grid stays on it.
class Reflection {
 public:
  Reflection(Point a, double ux, double uy)
      : a_(a),
        cos_2phi_(ux * ux - uy * uy),
        sin_2phi_(2 * ux * uy),
        two_phi_degrees_(2 * std::atan2(uy, ux) * 180 / std::numbers::pi),
        axis_parallel_(std::abs(std::remainder(std::atan2(uy, ux), std::numbers::pi / 2)) <=
                       kAxisParallelTolerance) {}

  Point Of(double x, double y) const {
    const double vx = x - a_.x;
    const double vy = y - a_.y;
    return {a_.x + cos_2phi_ * vx + sin_2phi_ * vy, a_.y + sin_2phi_ * vx - cos_2phi_ * vy};
  }
  void Apply(double& x, double& y) const {
    const Point p = Of(x, y);
    x = p.x;
    y = p.y;
  }
  // A direction θ in degrees goes to 2φ - θ.
  double Direction(double degrees) const { return two_phi_degrees_ - degrees; }
  bool axis_parallel() const { return axis_parallel_; }

 private:
  Point a_;
  double cos_2phi_, sin_2phi_, two_phi_degrees_;
  bool axis_parallel_;
};

// The arc covering the image of the old one: from the image of its end to the image of its
// start, counter-clockwise. Worked in degrees, as the line holds them, so that a whole number of
// degrees comes out whole.
void MirrorArc(ArcRecord& arc, const Reflection& reflection) {
  reflection.Apply(arc.x, arc.y);
  const double start = reflection.Direction(arc.end_angle / kDegreesToRadians);
  const double end = reflection.Direction(arc.start_angle / kDegreesToRadians);
  const double wrapped = WrappedDegrees(start);
  arc.start_angle = wrapped * kDegreesToRadians;
  arc.end_angle = (end + (wrapped - start)) * kDegreesToRadians;
}

// R(2φ)·F·R(θ) = R(2φ - θ)·F with F the flip across the baseline, which a negative height
// draws. The other way of writing it, 2φ - θ + 180 with the width negated, draws the same strokes
// but lets the advances round to whole pixels the other way, a pixel a character.
void MirrorText(TextRecord& text, const Reflection& reflection) {
  reflection.Apply(text.x, text.y);
  float angle = static_cast<float>(WrappedDegrees(reflection.Direction(text.angle)));
  if (angle >= 360) angle = 0;  // a hair below 360 in double is 360 in single
  text.angle = angle;
  text.height = -text.height;
}

// The four edges of the image of a rectangle that the axis turns off the grid, in the order the
// rectangle writer adds them; nothing unless all four can be written.
std::optional<std::array<WrittenShape, 4>> MirroredEdges(const SegmentRecord& rectangle,
                                                         const Reflection& reflection) {
  const std::array<Point, 4> corners{
      reflection.Of(rectangle.x1, rectangle.y1), reflection.Of(rectangle.x1, rectangle.y2),
      reflection.Of(rectangle.x2, rectangle.y2), reflection.Of(rectangle.x2, rectangle.y1)};
  std::array<WrittenShape, 4> shapes;
  for (size_t k = 0; k < corners.size(); ++k) {
    SegmentRecord edge = rectangle;
    edge.x1 = corners[k].x, edge.y1 = corners[k].y;
    edge.x2 = corners[(k + 1) % corners.size()].x, edge.y2 = corners[(k + 1) % corners.size()].y;
    std::optional<WrittenShape> shape =
        CanonicalShape(ParsedEntity{.kind = EntityKind::kLine, .record = edge, .box = {}});
    if (!shape) return std::nullopt;
    shapes[k] = std::move(*shape);
  }
  return shapes;
}

// The changes adding the image of one resolved entity, last first; none when it is not a shape,
// and false when it is one whose image cannot be written.
bool AddImage(ParsedEntity entity, const Reflection& reflection, EditChanges& last_first) {
  if (!IsShape(entity)) return true;
  std::optional<std::array<WrittenShape, 4>> edges;
  bool split = false;
  const bool visited =
      VisitEntityToChange(entity, Overloaded{
                                      [&](const MutableLineEntity& l) {
                                        reflection.Apply(l.segment.x1, l.segment.y1);
                                        reflection.Apply(l.segment.x2, l.segment.y2);
                                      },
                                      [&](const MutableRectangleEntity& r) {
                                        if (reflection.axis_parallel()) {
                                          reflection.Apply(r.segment.x1, r.segment.y1);
                                          reflection.Apply(r.segment.x2, r.segment.y2);
                                          return;
                                        }
                                        split = true;
                                        edges = MirroredEdges(r.segment, reflection);
                                      },
                                      [&](CircleRecord& c) { reflection.Apply(c.x, c.y); },
                                      [&](ArcRecord& a) { MirrorArc(a, reflection); },
                                      [&](TextRecord& t) { MirrorText(t, reflection); },
                                      [](ColourRecord&) {},
                                      [](ThicknessRecord&) {},
                                  });
  if (!visited) return true;
  if (split) {
    if (!edges) return false;
    for (auto edge = edges->rbegin(); edge != edges->rend(); ++edge) {
      last_first.push_back(Addition(std::move(*edge)));
    }
    return true;
  }
  std::optional<WrittenShape> shape = CanonicalShape(std::move(entity));
  if (!shape) return false;
  last_first.push_back(Addition(std::move(*shape)));
  return true;
}

}  // namespace

EditChanges MirrorSelection(std::span<const ParsedEntity> records, const Selection& selection,
                            Point axis_a, Point axis_b) {
  const double dx = axis_b.x - axis_a.x;
  const double dy = axis_b.y - axis_a.y;
  const double length = std::hypot(dx, dy);
  if (!(length > 0) || !std::isfinite(length)) return {};
  const Reflection reflection(axis_a, dx / length, dy / length);

  // The selected lines from the last one up, as CopySelection walks them; reversed at the end.
  EditChanges changes;
  changes.reserve(selection.count);
  ForSelectedFromLast(records, selection.flags, selection.count, [&](size_t, ParsedEntity entity) {
    if (!AddImage(std::move(entity), reflection, changes)) ++changes.unwritable;
  });
  std::ranges::reverse(changes);
  return changes;
}

}  // namespace blok
