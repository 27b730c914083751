// Hatches and points of a DXF drawing as entity lines: a hatch as its boundary and, so that the
// host program draws its area, the lines that fill it; a point as a small circle.

#include <algorithm>
#include <cmath>
#include <limits>

#include "document/dxf_convert.h"
#include "model/numbers.h"
#include "model/unit.h"

namespace blok::dxf {

void Converter::Hatch(const Entity& e, const Affine& m, const Style& style) {
  const HatchData hatch = ReadHatch(e);
  if (hatch.paths.empty()) {
    Skip("HATCH", "bez obrysu");
    return;
  }
  for (const HatchPath& path : hatch.paths) {
    if (error_) return;
    HatchBoundary(path, m, style);
  }
  HatchFill(hatch, m, style);
}

void Converter::HatchBoundary(const HatchPath& path, const Affine& m, const Style& style) {
  constexpr std::string_view type = "HATCH";
  if (path.polyline) {
    std::vector<Vertex> vertices = path.vertices;
    // A loop often repeats its first vertex at its end: it closes anyway.
    if (vertices.size() > 2 && vertices.front().p.x == vertices.back().p.x &&
        vertices.front().p.y == vertices.back().p.y) {
      vertices.pop_back();
    }
    Poly(m, vertices, true, style, type);
    return;
  }
  for (const HatchEdge& edge : path.edges) {
    if (!Room()) return;
    switch (edge.kind) {
      case HatchEdge::Kind::kLine:
        Segment(m(edge.a), m(edge.b), style, type);
        break;
      case HatchEdge::Kind::kArc:
        Arc(m, edge.a, edge.radius, edge.start, edge.end, edge.end - edge.start >= 2 * kPiD, style,
            type);
        break;
      case HatchEdge::Kind::kEllipse:
        EllipseArc(m, edge.a, edge.b, edge.ratio, edge.start, edge.end, true, style, type);
        break;
      case HatchEdge::Kind::kSpline:
        Curve(edge.spline, edge.fit, m, style, type);
        break;
    }
  }
}

// Solid: level lines half as far apart as a line of the hatch's thickness is wide. A view draws
// a line with a pen of whole pixels, up to one thinner than the line is wide, so that lines a
// whole width apart would leave hairlines between them at most zooms; at half of it they
// overlap at every zoom and the area is drawn solid. A pattern: its own lines.
void Converter::HatchFill(const HatchData& hatch, const Affine& m, const Style& style) {
  std::vector<FillFamily> families;
  if (hatch.solid) {
    families.push_back(SolidFamily(StrokeWidth(style.thickness) / 2));
  } else {
    for (const PatternLine& line : hatch.pattern) families.push_back(PatternFamily(line, m));
  }
  if (families.empty() || error_) return;
  const std::string kept = ", zostawiono sam obrys";
  std::vector<std::vector<Point>> outlines;
  size_t points = 0;
  for (const HatchPath& path : hatch.paths) {
    auto outline = Outline(path, m, kMaxOutlinePoints - points);
    if (!outline) {
      Note("blok " + block_name_ + ": obrys kreskowania ma za dużo punktów" + kept);
      return;
    }
    points += outline->size();
    outlines.push_back(std::move(*outline));
  }
  const auto fill = FillLines(outlines, families);
  if (!fill) {
    switch (fill.error()) {
      case FillRefusal::kTooMany:
        Note("blok " + block_name_ + ": kreskowanie ma ponad " + std::to_string(kMaxFillLines) +
             " linii wypełnienia" + kept);
        break;
      case FillRefusal::kNoSpacing:
        Note("blok " + block_name_ + ": linie wzoru kreskowania leżą jedna na drugiej" + kept);
        break;
      case FillRefusal::kOutOfRange:
        Note("blok " + block_name_ + ": kreskowanie ma liczby poza zakresem" + kept);
        break;
    }
    return;
  }
  for (const FillSegment& s : *fill) Segment(s.p, s.q, style, "HATCH");
}

// Notes alike are said once.
void Converter::Note(std::string note) {
  if (std::ranges::find(report_.notes, note) == report_.notes.end()) {
    report_.notes.push_back(std::move(note));
  }
}

void Converter::DxfPoint(const Entity& e, const Affine& m, const Style& style) {
  const Point c = m({e.Real(10), e.Real(20)});
  const double r = PointRadius();
  Emit(CircleFields{c.x, c.y, r}, style, "POINT");
  // One note counts them all, the radius said as the editor shows numbers.
  const std::string note = "punkty DXF: " + std::to_string(++points_) +
                           ", narysowane jako okręgi o promieniu " +
                           FormatPattern(r, kValuePattern, kWorkingSeparator);
  if (!point_note_) {
    point_note_ = report_.notes.size();
    report_.notes.push_back(note);
  } else {
    report_.notes[*point_note_] = note;
  }
}

// A DXF point is a dot of a few pixels whatever the zoom; an entity line needs a size. The
// drawing's own point size when it gives one, else a hundredth of the extent of all its
// coordinates, so that the dot keeps to the symbol's scale; never below half a millimetre on
// paper, the smallest dot a print shows clearly. The same for the whole import, so one note
// tells it.
double Converter::PointRadius() {
  if (point_radius_) return *point_radius_;
  double r = 0;
  if (drawing_.point_size > 0) {
    r = drawing_.point_size / 2 * unit_.scale;
  } else {
    double lo_x = std::numeric_limits<double>::infinity(), hi_x = -lo_x;
    double lo_y = lo_x, hi_y = -lo_x;
    const auto span = [&](const std::vector<Entity>& entities) {
      for (const Entity& e : entities) {
        for (const Group* g = e.begin + 1; g + 1 < e.end; ++g) {
          if (g->code != 10 || g[1].code != 20) continue;
          const auto x = RealOf(g->value), y = RealOf(g[1].value);
          if (!x || !y) continue;
          lo_x = std::min(lo_x, *x);
          hi_x = std::max(hi_x, *x);
          lo_y = std::min(lo_y, *y);
          hi_y = std::max(hi_y, *y);
        }
      }
    };
    span(drawing_.model);
    for (const BlockDefinition& b : drawing_.blocks) span(b.entities);
    if (lo_x <= hi_x) r = std::max(hi_x - lo_x, hi_y - lo_y) / 100 * unit_.scale;
  }
  const double floor = 0.5 / FindUnit(unit_.unit)->millimetres;
  point_radius_ = std::isfinite(r) ? std::max(r, floor) : floor;
  return *point_radius_;
}

}  // namespace blok::dxf
