#include "editing/transform.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "editing/canonical.h"
#include "editing/selected_walk.h"
#include "geometry/geometry.h"
#include "model/angles.h"
#include "model/entity_visit.h"

namespace blok {
namespace {

// A turn this close to a multiple of a right angle keeps a rectangle axis-parallel.
constexpr double kRightAngleTolerance = 1e-6;
// Smaller scale factors are typing slips, not scales.
constexpr double kSmallestFactor = 0.000001;

// The rewrite loop: every visited flag is cleared and every entity that can be written replaced.
// rewrite(entity, later) returns the new shape and may leave shapes to add after all
// replacements.
template <class Rewrite>
EditChanges RewriteSelection(std::span<const ParsedEntity> records, Selection& selection,
                             Rewrite rewrite) {
  EditChanges changes;
  changes.reserve(selection.count);
  std::vector<WrittenShape> later;
  ForSelectedFromLast(
      records, selection.flags, selection.count, [&](size_t index, ParsedEntity entity) {
        selection.flags[index] = 0;
        const bool shape = IsShape(entity);
        if (std::optional<WrittenShape> written = rewrite(entity, later)) {
          changes.push_back(Replacement(static_cast<int>(index), std::move(*written)));
        } else if (shape) {
          ++changes.unwritable;
        }
      });
  for (WrittenShape& shape : later) changes.push_back(Addition(std::move(shape)));
  return changes;
}

// The common case: the record changed in place by a visitor, then written.
template <class Visitor>
EditChanges ChangeEachSelected(std::span<const ParsedEntity> records, Selection& selection,
                               const Visitor& visitor) {
  return RewriteSelection(records, selection,
                          [&](ParsedEntity& entity, std::vector<WrittenShape>&) {
                            VisitEntityToChange(entity, visitor);
                            return CanonicalShape(std::move(entity));
                          });
}

// Calls move(x, y) on every defining point: both points of a line or rectangle, the centre of a
// circle or arc, the insertion point of a text.
template <class Move>
auto EachDefiningPoint(Move move) {
  return Overloaded{
      [move](const MutableLineEntity& l) {
        move(l.segment.x1, l.segment.y1);
        move(l.segment.x2, l.segment.y2);
      },
      [move](const MutableRectangleEntity& r) {
        move(r.segment.x1, r.segment.y1);
        move(r.segment.x2, r.segment.y2);
      },
      [move](CircleRecord& c) { move(c.x, c.y); },
      [move](ArcRecord& a) { move(a.x, a.y); },
      [move](TextRecord& t) { move(t.x, t.y); },
      [](const ColourRecord&) {},
      [](const ThicknessRecord&) {},
  };
}

auto Displacement(float dx, float dy) {
  return [ddx = double{dx}, ddy = double{dy}](double& x, double& y) {
    x += ddx;
    y += ddy;
  };
}

// Arc angles after a turn: a start past a full circle comes back by one.
void WrapArcAngles(ArcRecord& arc) {
  if (arc.start_angle > kTwoPi) {
    arc.start_angle -= kTwoPi;
    arc.end_angle -= kTwoPi;
  }
}

// The four edges of a turned rectangle as line records, in the order the rectangle writer adds
// them.
std::array<ParsedEntity, 4> EdgeRecords(const SegmentRecord& rectangle,
                                        const std::array<Point, 4>& corners) {
  std::array<ParsedEntity, 4> edges;
  for (size_t k = 0; k < corners.size(); ++k) {
    const Point& from = corners[k];
    const Point& to = corners[(k + 1) % corners.size()];
    SegmentRecord edge = rectangle;
    edge.x1 = from.x, edge.y1 = from.y, edge.x2 = to.x, edge.y2 = to.y;
    edges[k] = ParsedEntity{.kind = EntityKind::kLine, .record = edge, .box = {}};
  }
  return edges;
}

// The same written; nothing unless all four can be written.
std::optional<std::array<WrittenShape, 4>> EdgeShapes(const SegmentRecord& rectangle,
                                                      const std::array<Point, 4>& corners) {
  std::array<WrittenShape, 4> shapes;
  std::array<ParsedEntity, 4> edges = EdgeRecords(rectangle, corners);
  for (size_t k = 0; k < edges.size(); ++k) {
    std::optional<WrittenShape> shape = CanonicalShape(std::move(edges[k]));
    if (!shape) return std::nullopt;
    shapes[k] = std::move(*shape);
  }
  return shapes;
}

// A turn by a multiple of a right angle keeps a rectangle a rectangle.
bool IsRightAngle(double turn) {
  return std::abs(std::remainder(turn, kHalfPi)) <= kRightAngleTolerance;
}

// The angles of an arc and of a text turned by turn radians.
void TurnArc(ArcRecord& a, double turn) {
  a.start_angle += turn;
  a.end_angle += turn;
  WrapArcAngles(a);
}
void TurnText(TextRecord& t, double turn) {
  t.angle = static_cast<float>(t.angle + turn * 180 / kPi);
  if (t.angle > 360) t.angle -= 360;
}

// Scales every kind by f about (bx, by): radii stay positive, text height and width scale, line
// thickness does not.
auto Scaling(double bx, double by, double f) {
  const auto scale = [bx, by, f](double& x, double& y) {
    x = bx + f * (x - bx);
    y = by + f * (y - by);
  };
  const auto defining_points = EachDefiningPoint(scale);
  return Overloaded{
      [=](CircleRecord& c) {
        scale(c.x, c.y);
        c.radius = std::abs(f * c.radius);
      },
      [=](ArcRecord& a) {
        scale(a.x, a.y);
        a.radius *= f;
        // Mirrored through the base point the arc is the same arc turned half a circle; with the
        // radius kept positive it draws, picks and offsets as before.
        if (a.radius < 0) {
          a.radius = -a.radius;
          TurnArc(a, kPi);
        }
      },
      [=](TextRecord& t) {
        scale(t.x, t.y);
        t.height = static_cast<float>(f * t.height);
        t.width = static_cast<float>(f * t.width);
      },
      [=](const MutableLineEntity& l) { defining_points(l); },
      [=](const MutableRectangleEntity& r) { defining_points(r); },
      [](const ColourRecord&) {},
      [](const ThicknessRecord&) {},
  };
}

}  // namespace

EditChanges MoveSelection(std::span<const ParsedEntity> records, Selection& selection, float dx,
                          float dy) {
  return ChangeEachSelected(records, selection, EachDefiningPoint(Displacement(dx, dy)));
}

EditChanges CopySelection(std::span<const ParsedEntity> records, const Selection& selection,
                          float dx, float dy) {
  const auto move = EachDefiningPoint(Displacement(dx, dy));
  EditChanges changes;  // from the last selected line up, reversed at the end
  changes.reserve(selection.count);
  ForSelectedFromLast(records, selection.flags, selection.count, [&](size_t, ParsedEntity entity) {
    VisitEntityToChange(entity, move);
    const bool shape = IsShape(entity);
    if (std::optional<WrittenShape> copy = CanonicalShape(std::move(entity))) {
      changes.push_back(Addition(std::move(*copy)));
    } else if (shape) {
      ++changes.unwritable;
    }
  });
  std::ranges::reverse(changes);
  return changes;
}

EditChanges StretchSelection(std::span<const ParsedEntity> records, Selection& selection, float dx,
                             float dy) {
  const StretchWindow window = selection.window;
  const auto inside = [window](double x, double y) {
    return window.left < x && x < window.right && window.bottom < y && y < window.top;
  };
  const double ddx = dx;
  const double ddy = dy;
  const auto defining_points = EachDefiningPoint([&](double& x, double& y) {
    if (!inside(x, y)) return;
    x += ddx;
    y += ddy;
  });
  const Overloaded stretch{
      [&](MutableRectangleEntity r) {
        // Each coordinate moves once when a corner that uses it is inside.
        SegmentRecord& s = r.segment;
        const bool low_left = inside(s.x1, s.y1);
        const bool low_right = inside(s.x2, s.y1);
        const bool high_left = inside(s.x1, s.y2);
        const bool high_right = inside(s.x2, s.y2);
        if (low_left || high_left) s.x1 += ddx;
        if (low_right || high_right) s.x2 += ddx;
        if (low_left || low_right) s.y1 += ddy;
        if (high_left || high_right) s.y2 += ddy;
      },
      [&](const MutableLineEntity& l) { defining_points(l); },
      [&](CircleRecord& c) { defining_points(c); },
      [&](ArcRecord& a) { defining_points(a); },
      [&](TextRecord& t) { defining_points(t); },
      [](const ColourRecord&) {},
      [](const ThicknessRecord&) {},
  };
  return ChangeEachSelected(records, selection, stretch);
}

EditChanges RotateSelection(std::span<const ParsedEntity> records, Selection& selection, double cx,
                            double cy, float angle) {
  const double turn = angle;
  const bool right_angle = IsRightAngle(turn);
  const auto turned = [&](double x, double y) { return RotatePoint(cx, cy, x, y, turn); };
  const auto rotate = [&](double& x, double& y) {
    const Point p = turned(x, y);
    x = p.x;
    y = p.y;
  };
  const auto defining_points = EachDefiningPoint(rotate);
  return RewriteSelection(
      records, selection,
      [&](ParsedEntity& entity, std::vector<WrittenShape>& later) -> std::optional<WrittenShape> {
        bool split = false;
        std::optional<std::array<WrittenShape, 4>> edges;
        const Overloaded visitor{
            [&](MutableRectangleEntity r) {
              if (right_angle) {
                defining_points(r);
                return;
              }
              // An axis-parallel rectangle cannot hold a turned one: it becomes its edges.
              const SegmentRecord& s = r.segment;
              split = true;
              edges = EdgeShapes(s, {turned(s.x1, s.y1), turned(s.x1, s.y2), turned(s.x2, s.y2),
                                     turned(s.x2, s.y1)});
            },
            [&](ArcRecord& a) {
              rotate(a.x, a.y);
              TurnArc(a, turn);
            },
            [&](TextRecord& t) {
              rotate(t.x, t.y);
              TurnText(t, turn);
            },
            [&](const MutableLineEntity& l) { defining_points(l); },
            [&](CircleRecord& c) { defining_points(c); },
            [](const ColourRecord&) {},
            [](const ThicknessRecord&) {},
        };
        VisitEntityToChange(entity, visitor);
        if (!split) return CanonicalShape(std::move(entity));
        if (!edges) return std::nullopt;
        later.insert(later.end(), std::make_move_iterator(edges->begin() + 1),
                     std::make_move_iterator(edges->end()));
        return std::move(edges->front());
      });
}

EditChanges ScaleSelection(std::span<const ParsedEntity> records, Selection& selection, double bx,
                           double by, float factor) {
  const double f = factor;
  if (!(std::abs(f) > kSmallestFactor)) return {};
  const auto visitor = Scaling(bx, by, f);
  return ChangeEachSelected(records, selection, visitor);
}

std::vector<ParsedEntity> PlacedEntities(std::span<const ParsedEntity> records,
                                         const Placement& placement) {
  const double turn = placement.angle;
  const bool right_angle = IsRightAngle(turn);
  const auto scale = Scaling(0, 0, placement.scale);
  // The turn's sine and cosine once, exact for right angles, so that a block placed unturned
  // or square keeps its numbers exactly.
  double cos_turn = std::cos(turn), sin_turn = std::sin(turn);
  if (right_angle) {
    const long quarter = std::lround(turn / kHalfPi) % 4;
    const int quarters = static_cast<int>((quarter + 4) % 4);
    cos_turn = std::array{1, 0, -1, 0}[quarters];
    sin_turn = std::array{0, 1, 0, -1}[quarters];
  }
  const auto placed_point = [&](double x, double y) {
    return Point{x * cos_turn - y * sin_turn + placement.x,
                 x * sin_turn + y * cos_turn + placement.y};
  };
  const auto place = EachDefiningPoint([&](double& x, double& y) {
    const Point p = placed_point(x, y);
    x = p.x;
    y = p.y;
  });
  std::vector<ParsedEntity> placed;
  placed.reserve(records.size());
  // From the last line up, as the defaults are known; reversed at the end.
  DefaultsBelow below;
  for (size_t i = records.size(); i-- > 0;) {
    below.Pass(records[i]);
    if (!IsShape(records[i])) continue;
    ParsedEntity entity = Resolved(records[i], below.defaults());
    VisitEntityToChange(entity, scale);
    if (const auto* r = std::get_if<SegmentRecord>(&entity.record);
        r != nullptr && entity.kind == EntityKind::kRectangle && !right_angle) {
      // Added last first, so that the edges stand in their order once reversed.
      const std::array<ParsedEntity, 4> edges =
          EdgeRecords(*r, {placed_point(r->x1, r->y1), placed_point(r->x1, r->y2),
                           placed_point(r->x2, r->y2), placed_point(r->x2, r->y1)});
      placed.insert(placed.end(), edges.rbegin(), edges.rend());
      continue;
    }
    const Overloaded turn_and_move{
        [&](ArcRecord& a) {
          place(a);
          TurnArc(a, turn);
        },
        [&](TextRecord& t) {
          place(t);
          TurnText(t, turn);
        },
        [&](const MutableLineEntity& l) { place(l); },
        [&](const MutableRectangleEntity& r) { place(r); },
        [&](CircleRecord& c) { place(c); },
        [](const ColourRecord&) {},
        [](const ThicknessRecord&) {},
    };
    VisitEntityToChange(entity, turn_and_move);
    placed.push_back(std::move(entity));
  }
  std::ranges::reverse(placed);
  return placed;
}

EditChanges AddsInOrder(std::span<const ParsedEntity> placed) {
  EditChanges changes;
  changes.reserve(placed.size());
  // Each add goes to line 0: the last first.
  for (auto entity = placed.rbegin(); entity != placed.rend(); ++entity) {
    if (std::optional<WrittenShape> shape = CanonicalShape(*entity)) {
      changes.push_back(Addition(std::move(*shape)));
    } else {
      ++changes.unwritable;
    }
  }
  return changes;
}

EditChanges ChangeSelectionProperties(std::span<const ParsedEntity> records, Selection& selection,
                                      const PropertyChange& change) {
  const auto tail = [&](Colour& colour, float& thickness) {
    if (change.colour) colour = change.colour_value;
    if (change.thickness) thickness = change.thickness_value;
  };
  const Overloaded visitor{
      [&](const MutableLineEntity& l) { tail(l.segment.colour, l.segment.thickness); },
      [&](const MutableRectangleEntity& r) { tail(r.segment.colour, r.segment.thickness); },
      [&](CircleRecord& c) { tail(c.colour, c.thickness); },
      [&](ArcRecord& a) { tail(a.colour, a.thickness); },
      [&](TextRecord& t) {
        tail(t.colour, t.thickness);
        if (change.height) t.height = change.height_value;
        if (change.width) t.width = change.width_value;
      },
      [](const ColourRecord&) {},
      [](const ThicknessRecord&) {},
  };
  return ChangeEachSelected(records, selection, visitor);
}

}  // namespace blok
