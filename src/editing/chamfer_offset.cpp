#include "editing/chamfer_offset.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <string_view>
#include <utility>

#include "editing/canonical.h"
#include "editing/trim_extend.h"
#include "model/entity_visit.h"

namespace blok {
namespace {

// A line that ends this close to the corner already ends there; cutting at the click would leave
// next to nothing of it.
constexpr double kAtEnd = 0.01;
// How far a crossing may lie beyond a line's end and still count as on it, clicked before it.
constexpr double kOnLineSlack = 0.0001;
// Less than this left of a line after a cut back would not show, as the writers' shortest side.
constexpr double kShortestKept = 1e-4;

constexpr std::string_view kNegativeDistance = "Odległość nie może być ujemna.";
constexpr std::string_view kNotLines = "Fazować można tylko dwie linie.";
constexpr std::string_view kParallel = "Linie są równoległe.";
constexpr std::string_view kFirstTooLong = "Odległość d1 nie mieści się na pierwszej linii.";
constexpr std::string_view kSecondTooLong = "Odległość d2 nie mieści się na drugiej linii.";
constexpr std::string_view kNotWritable = "Fazki nie da się zapisać.";

// The corner rule for one line of a chamfer: whether its first end is the one moved to the
// corner (else the second is). The first line's range test excludes its ends, the second's
// includes them.
bool CornerMovesFirstEnd(const SegmentRecord& line, LineHit corner, Point click,
                         bool ends_included) {
  const double to_first = PointDistance(line.x1, line.y1, corner.x, corner.y);
  const double to_second = PointDistance(line.x2, line.y2, corner.x, corner.y);
  const bool nearer_is_first = to_second > to_first;
  if (to_first <= kAtEnd || to_second <= kAtEnd) return nearer_is_first;
  const float d = static_cast<float>(to_first);
  const float c = static_cast<float>(PointDistance(line.x1, line.y1, click.x, click.y));
  const CrossingSpan span = SpanOfCrossing(line, corner);
  if (c < d) return span.Inside(kOnLineSlack) ? false : nearer_is_first;
  const bool on_line = ends_included ? span.Inside() : span.StrictlyInside();
  return on_line ? true : nearer_is_first;
}

// The line with the end the rule picks moved to the point.
SegmentRecord WithEndAt(SegmentRecord line, bool first_end, Point at) {
  if (first_end) {
    line.x1 = at.x;
    line.y1 = at.y;
  } else {
    line.x2 = at.x;
    line.y2 = at.y;
  }
  return line;
}

SegmentRecord Cornered(const SegmentRecord& line, LineHit corner, Point click, bool ends_included) {
  return WithEndAt(line, CornerMovesFirstEnd(line, corner, click, ends_included),
                   {corner.x, corner.y});
}

// Sideways by h, to the left of P1 -> P2 when the side point is there, else to the right.
bool OffsetLine(SegmentRecord& s, double h, Point side) {
  if (s.x1 == s.x2 && s.y1 == s.y2) return false;  // no direction to offset across
  const double angle = DirectionAngle(s.x1, s.y1, s.x2, s.y2);
  double dx = -h * std::sin(angle);
  double dy = h * std::cos(angle);
  if (!(DotAbout(s.x1, s.y1, side.x, side.y, s.x1 + dx, s.y1 + dy) > 0)) {
    dx = -dx;
    dy = -dy;
  }
  s.x1 += dx;
  s.y1 += dy;
  s.x2 += dx;
  s.y2 += dy;
  return true;
}

bool OffsetRectangle(SegmentRecord& s, double h, Point side) {
  const double left = std::min(s.x1, s.x2);
  const double right = std::max(s.x1, s.x2);
  const double bottom = std::min(s.y1, s.y2);
  const double top = std::max(s.y1, s.y2);
  const bool inside = left < side.x && side.x < right && bottom < side.y && side.y < top;
  // Shrunk by half a side or more, the rectangle would turn inside out or vanish.
  if (inside && (2 * h >= right - left || 2 * h >= top - bottom)) return false;
  const double grow = inside ? -h : h;
  s.x1 = left - grow;
  s.y1 = bottom - grow;
  s.x2 = right + grow;
  s.y2 = top + grow;
  return true;
}

bool OffsetRadius(double cx, double cy, double& radius, double h, Point side) {
  const double offset = PointDistance(side.x, side.y, cx, cy) < radius ? radius - h : radius + h;
  if (!(offset > 0)) return false;
  radius = offset;
  return true;
}

}  // namespace

EditChanges ChamferLines(std::span<const ParsedEntity> records, int first, int second,
                         Point click_second, Point click_first) {
  const std::optional<SegmentRecord> a = LineRecordAt(records, first);
  const std::optional<SegmentRecord> b = LineRecordAt(records, second);
  if (!a || !b) return {};
  const LineHit corner =
      LineLineIntersection(a->x1, a->y1, a->x2, a->y2, b->x1, b->y1, b->x2, b->y2);
  if (!corner.ok) return {};
  EditChanges changes =
      ReplacedLine(records, first, Cornered(*a, corner, click_first, /*ends_included=*/false));
  EditChanges second_change =
      ReplacedLine(records, second, Cornered(*b, corner, click_second, /*ends_included=*/true));
  // Half a corner is no corner: both lines or neither.
  if (changes.empty() || second_change.empty()) return {};
  changes.push_back(std::move(second_change.front()));
  return changes;
}

std::expected<DistanceChamfer, std::string> ChamferByDistances(
    std::span<const ParsedEntity> records, int first, int second, Point click_first,
    Point click_second, double first_distance, double second_distance) {
  const auto refused = [](std::string_view why) {
    return std::unexpected<std::string>(std::string(why));
  };
  if (!(first_distance >= 0) || !(second_distance >= 0)) return refused(kNegativeDistance);
  const std::optional<SegmentRecord> a = LineRecordAt(records, first);
  const std::optional<SegmentRecord> b = LineRecordAt(records, second);
  if (!a || !b) return refused(kNotLines);
  const LineHit corner =
      LineLineIntersection(a->x1, a->y1, a->x2, a->y2, b->x1, b->y1, b->x2, b->y2);
  if (!corner.ok) return refused(kParallel);
  const Point at{corner.x, corner.y};
  if (first_distance == 0 && second_distance == 0) {
    EditChanges sharp = ChamferLines(records, first, second, click_second, click_first);
    if (sharp.size() != 2) return refused(kNotWritable);
    return DistanceChamfer{std::move(sharp), at, at};
  }
  // Cornered as ChamferLines corners it, then the moved end taken back toward the kept one.
  struct Cut {
    SegmentRecord line;
    Point end;
  };
  const auto cut = [&](const SegmentRecord& line, Point click, bool ends_included,
                       double distance) -> std::optional<Cut> {
    const bool first_end = CornerMovesFirstEnd(line, corner, click, ends_included);
    const Point kept = first_end ? Point{line.x2, line.y2} : Point{line.x1, line.y1};
    const double length = PointDistance(at.x, at.y, kept.x, kept.y);
    if (!(length - distance > kShortestKept)) return std::nullopt;
    const double t = distance / length;
    const Point end{at.x + t * (kept.x - at.x), at.y + t * (kept.y - at.y)};
    return Cut{WithEndAt(line, first_end, end), end};
  };
  const std::optional<Cut> cut_a = cut(*a, click_first, /*ends_included=*/false, first_distance);
  if (!cut_a) return refused(kFirstTooLong);
  const std::optional<Cut> cut_b = cut(*b, click_second, /*ends_included=*/true, second_distance);
  if (!cut_b) return refused(kSecondTooLong);
  EditChanges changes = ReplacedLine(records, first, cut_a->line);
  EditChanges second_change = ReplacedLine(records, second, cut_b->line);
  if (changes.empty() || second_change.empty()) return refused(kNotWritable);
  changes.push_back(std::move(second_change.front()));
  return DistanceChamfer{std::move(changes), cut_a->end, cut_b->end};
}

std::optional<std::string> OffsetPreviewLine(std::span<const ParsedEntity> records, int index,
                                             double distance, Point side) {
  if (index < 0 || static_cast<size_t>(index) >= records.size()) return std::nullopt;
  // The distance is held in single precision, as typed and measured distances are.
  if (!(std::abs(distance) <= std::numeric_limits<float>::max())) return std::nullopt;
  const double h = static_cast<float>(std::abs(distance));
  ParsedEntity entity = Resolved(records[index], DefaultsAt(records, index));
  bool offset = false;
  VisitEntityToChange(
      entity, Overloaded{
                  [&](MutableLineEntity l) { offset = OffsetLine(l.segment, h, side); },
                  [&](MutableRectangleEntity r) { offset = OffsetRectangle(r.segment, h, side); },
                  [&](CircleRecord& c) { offset = OffsetRadius(c.x, c.y, c.radius, h, side); },
                  [&](ArcRecord& a) { offset = OffsetRadius(a.x, a.y, a.radius, h, side); },
                  [](const TextRecord&) {},
                  [](const ColourRecord&) {},
                  [](const ThicknessRecord&) {},
              });
  if (!offset) return std::nullopt;
  return CanonicalText(entity);
}

EditChanges OffsetEntity(std::span<const ParsedEntity> records, int index, double distance,
                         Point side) {
  std::optional<std::string> line = OffsetPreviewLine(records, index, distance, side);
  if (!line) return {};
  return {EditChange{EditChange::Kind::kAdd, -1, std::move(*line)}};
}

EditChanges DeleteSelection(std::span<const ParsedEntity> records, const Selection& selection) {
  EditChanges changes;
  size_t next = std::min(selection.flags.size(), records.size());
  for (size_t n = 0; n < selection.count; ++n) {
    while (next > 0 && !selection.flags[next - 1]) --next;
    if (next == 0) break;
    --next;
    changes.push_back({EditChange::Kind::kDelete, static_cast<int>(next), {}});
  }
  return changes;
}

}  // namespace blok
