#include "editing/fillet.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <optional>
#include <string_view>
#include <utility>
#include <variant>

#include "editing/canonical.h"
#include "editing/chamfer_offset.h"
#include "editing/trim_extend.h"

namespace blok {
namespace {

constexpr std::string_view kNegativeRadius = "Promień nie może być ujemny.";
constexpr std::string_view kNotLines = "Zaokrąglić można tylko dwie linie.";
constexpr std::string_view kParallel = "Linie są równoległe.";
constexpr std::string_view kDoesNotFit = "Promień nie mieści się na liniach.";
constexpr std::string_view kNotWritable = "Zaokrąglenia nie da się zapisać.";

// A touching point this little past a line's far end is on it: a radius that fits exactly must
// not fail by a unit in the last place.
constexpr double kFitSlack = 1e-9;

std::unexpected<std::string> Refused(std::string_view message) {
  return std::unexpected<std::string>(std::string(message));
}

// What a corner keeps of a line: the end that stays and the unit direction from the crossing
// towards it.
struct KeptPart {
  bool first_end_stays = false;
  Point far;
  Point direction;
};

// Which end the chamfer left where it was: the one of its replacement farther from the corner
// (the other one is the corner). Asking the chamfer keeps both commands deciding the side of a
// click by one rule.
std::optional<KeptPart> KeptBy(const SegmentRecord& line, const EditChange& chamfered,
                               LineHit corner) {
  const ParsedEntity replaced = ParseEntity(chamfered.line);
  const auto* ends = std::get_if<SegmentRecord>(&replaced.record);
  if (ends == nullptr || !ends->valid) return std::nullopt;
  KeptPart kept;
  kept.first_end_stays = PointDistance(ends->x1, ends->y1, corner.x, corner.y) >
                         PointDistance(ends->x2, ends->y2, corner.x, corner.y);
  const Point near = kept.first_end_stays ? Point{line.x2, line.y2} : Point{line.x1, line.y1};
  kept.far = kept.first_end_stays ? Point{line.x1, line.y1} : Point{line.x2, line.y2};
  const double length = PointDistance(near.x, near.y, kept.far.x, kept.far.y);
  if (!(length > 0)) return std::nullopt;
  kept.direction = {(kept.far.x - near.x) / length, (kept.far.y - near.y) / length};
  return kept;
}

// The crossing of the two infinite lines in double precision; the chamfer's corner is a single.
std::optional<Point> Crossing(const SegmentRecord& a, const SegmentRecord& b) {
  const double ax = a.x2 - a.x1, ay = a.y2 - a.y1;
  const double bx = b.x2 - b.x1, by = b.y2 - b.y1;
  const double denominator = ax * by - ay * bx;
  if (denominator == 0) return std::nullopt;
  const double s = ((b.x1 - a.x1) * by - (b.y1 - a.y1) * bx) / denominator;
  return Point{a.x1 + s * ax, a.y1 + s * ay};
}

// The line with the end that the chamfer moved put at the touching point.
SegmentRecord Touching(SegmentRecord line, const KeptPart& kept, Point touch) {
  if (kept.first_end_stays) {
    line.x2 = touch.x, line.y2 = touch.y;
  } else {
    line.x1 = touch.x, line.y1 = touch.y;
  }
  return line;
}

double AngleFrom(Point centre, Point p) {
  const double angle = std::atan2(p.y - centre.y, p.x - centre.x);
  return angle < 0 ? angle + 2 * std::numbers::pi : angle;
}

}  // namespace

std::expected<FilletResult, std::string> FilletLines(std::span<const ParsedEntity> records,
                                                     int first, int second, Point click_first,
                                                     Point click_second, double radius) {
  if (radius < 0) return Refused(kNegativeRadius);
  const std::optional<SegmentRecord> a = LineRecordAt(records, first);
  const std::optional<SegmentRecord> b = LineRecordAt(records, second);
  if (!a || !b) return Refused(kNotLines);
  const LineHit corner =
      LineLineIntersection(a->x1, a->y1, a->x2, a->y2, b->x1, b->y1, b->x2, b->y2);
  if (!corner.ok) return Refused(kParallel);
  EditChanges chamfer = ChamferLines(records, first, second, click_second, click_first);
  if (chamfer.size() != 2) return Refused(kNotWritable);
  if (radius == 0) return FilletResult{std::move(chamfer), {corner.x, corner.y}, 0, 0, 0};
  if (!std::isfinite(radius)) return Refused(kDoesNotFit);

  const std::optional<Point> crossing = Crossing(*a, *b);
  const std::optional<KeptPart> kept_a = KeptBy(*a, chamfer[0], corner);
  const std::optional<KeptPart> kept_b = KeptBy(*b, chamfer[1], corner);
  if (!crossing || !kept_a || !kept_b) return Refused(kParallel);
  const Point x = *crossing;
  const Point u = kept_a->direction;
  const Point w = kept_b->direction;
  const double cos_angle = u.x * w.x + u.y * w.y;
  const double sin_angle = std::abs(u.x * w.y - u.y * w.x);
  if (!(sin_angle > 0)) return Refused(kParallel);

  // From the crossing to each touching point: r / tan(α / 2), α the angle between the kept parts.
  const double reach = radius * (1 + cos_angle) / sin_angle;
  const auto fits = [&](const KeptPart& kept) {
    const double length =
        (kept.far.x - x.x) * kept.direction.x + (kept.far.y - x.y) * kept.direction.y;
    return reach <= length + kFitSlack * std::max(1.0, length);
  };
  if (!fits(*kept_a) || !fits(*kept_b)) return Refused(kDoesNotFit);
  const Point touch_a{x.x + reach * u.x, x.y + reach * u.y};
  const Point touch_b{x.x + reach * w.x, x.y + reach * w.y};
  // The centre lies a radius off the first line, on the second line's side of it.
  const Point normal{(w.x - cos_angle * u.x) / sin_angle, (w.y - cos_angle * u.y) / sin_angle};
  const Point centre{touch_a.x + radius * normal.x, touch_a.y + radius * normal.y};

  FilletResult result{.changes = {}, .centre = centre, .radius = radius};
  double from = AngleFrom(centre, touch_a);
  double to = AngleFrom(centre, touch_b);
  double sweep = to - from;
  if (sweep < 0) sweep += 2 * std::numbers::pi;
  if (sweep > std::numbers::pi) {
    std::swap(from, to);
    sweep = 2 * std::numbers::pi - sweep;
  }
  result.start = from;
  result.end = from + sweep;

  result.changes = ReplacedLine(records, first, Touching(*a, *kept_a, touch_a));
  EditChanges second_change = ReplacedLine(records, second, Touching(*b, *kept_b, touch_b));
  ArcRecord arc{.x = centre.x,
                .y = centre.y,
                .radius = radius,
                .start_angle = result.start,
                .end_angle = result.end,
                .valid = true};
  const bool arc_writable =
      CanonicalText(ParsedEntity{.kind = EntityKind::kArc, .record = arc, .box = {}}).has_value();
  if (result.changes.empty() || second_change.empty() || !arc_writable) {
    return Refused(kNotWritable);
  }
  result.changes.push_back(std::move(second_change.front()));
  return result;
}

}  // namespace blok
