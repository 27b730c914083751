#include "editing/trim_extend.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "editing/canonical.h"
#include "model/entity_visit.h"

namespace blok {
namespace {

// The kernel's own vertical rule.
constexpr double kNarrow = 0.001;

void MoveFirstEnd(SegmentRecord& line, LineHit to) {
  line.x1 = to.x;
  line.y1 = to.y;
}

void MoveSecondEnd(SegmentRecord& line, LineHit to) {
  line.x2 = to.x;
  line.y2 = to.y;
}

}  // namespace

std::optional<SegmentRecord> LineRecordAt(std::span<const ParsedEntity> records, int index) {
  if (index < 0 || static_cast<size_t>(index) >= records.size()) return std::nullopt;
  std::optional<SegmentRecord> line;
  VisitEntity(records[index], Overloaded{
                                  [&](const LineEntity& l) { line = l.segment; },
                                  [](const RectangleEntity&) {},
                                  [](const CircleRecord&) {},
                                  [](const ArcRecord&) {},
                                  [](const TextRecord&) {},
                                  [](const ColourRecord&) {},
                                  [](const ThicknessRecord&) {},
                              });
  return line;
}

EditChanges ReplacedLine(std::span<const ParsedEntity> records, int index,
                         const SegmentRecord& ends) {
  ParsedEntity entity = Resolved(records[index], DefaultsAt(records, index));
  const Overloaded move_ends{
      [&](MutableLineEntity l) {
        l.segment.x1 = ends.x1;
        l.segment.y1 = ends.y1;
        l.segment.x2 = ends.x2;
        l.segment.y2 = ends.y2;
      },
      [](const MutableRectangleEntity&) {},
      [](const CircleRecord&) {},
      [](const ArcRecord&) {},
      [](const TextRecord&) {},
      [](const ColourRecord&) {},
      [](const ThicknessRecord&) {},
  };
  VisitEntityToChange(entity, move_ends);
  std::optional<std::string> text = CanonicalText(entity);
  if (!text) return {};
  return {EditChange{EditChange::Kind::kReplace, index, std::move(*text)}};
}

CrossingSpan SpanOfCrossing(const SegmentRecord& line, LineHit crossing) {
  if (std::abs(line.x1 - line.x2) < kNarrow) {
    return {std::min(line.y1, line.y2), std::max(line.y1, line.y2), crossing.y};
  }
  return {std::min(line.x1, line.x2), std::max(line.x1, line.x2), crossing.x};
}

EditChanges TrimLine(std::span<const ParsedEntity> records, int edge, int object, Point click) {
  const std::optional<SegmentRecord> cut = LineRecordAt(records, edge);
  const std::optional<SegmentRecord> line = LineRecordAt(records, object);
  if (!cut || !line) return {};
  const LineHit at = SegmentSegmentIntersection(cut->x1, cut->y1, cut->x2, cut->y2, line->x1,
                                                line->y1, line->x2, line->y2);
  if (!at.ok) return {};
  if (PointDistance(line->x1, line->y1, at.x, at.y) <= kTrimAtEnd ||
      PointDistance(line->x2, line->y2, at.x, at.y) <= kTrimAtEnd) {
    return {};
  }
  SegmentRecord ends = *line;
  if (DotAbout(at.x, at.y, click.x, click.y, line->x1, line->y1) > 0) {
    MoveFirstEnd(ends, at);
  } else {
    MoveSecondEnd(ends, at);
  }
  return ReplacedLine(records, object, ends);
}

EditChanges ExtendLine(std::span<const ParsedEntity> records, int edge, int object, Point) {
  const std::optional<SegmentRecord> boundary = LineRecordAt(records, edge);
  const std::optional<SegmentRecord> line = LineRecordAt(records, object);
  if (!boundary || !line) return {};
  const LineHit at = LineLineIntersection(boundary->x1, boundary->y1, boundary->x2, boundary->y2,
                                          line->x1, line->y1, line->x2, line->y2);
  // A crossing past the single-precision range is no place to extend to, nor to rewrite for.
  if (!at.ok || !std::isfinite(at.x) || !std::isfinite(at.y)) return {};
  const double d1 = PointDistance(line->x1, line->y1, at.x, at.y);
  const double d2 = PointDistance(line->x2, line->y2, at.x, at.y);
  if (d1 <= kTrimAtEnd || d2 <= kTrimAtEnd) return {};
  SegmentRecord ends = *line;
  if (SpanOfCrossing(*boundary, at).StrictlyInside() && !SpanOfCrossing(*line, at).Inside()) {
    if (d2 > d1) {
      MoveFirstEnd(ends, at);
    } else {
      MoveSecondEnd(ends, at);
    }
  }
  // Written even when nothing moved: the pick still leaves its record.
  return ReplacedLine(records, object, ends);
}

}  // namespace blok
