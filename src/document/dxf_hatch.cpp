#include "document/dxf_hatch.h"

#include <algorithm>
#include <cmath>

namespace blok::dxf {
namespace {

double Dot(Point a, Point b) { return a.x * b.x + a.y * b.y; }
Point Minus(Point a, Point b) { return {a.x - b.x, a.y - b.y}; }
double Distance(Point a, Point b) { return std::hypot(a.x - b.x, a.y - b.y); }

// What the groups being read belong to.
enum class Reading { kHead, kPolyline, kEdges, kSplineFit, kPathTail, kPattern };

// An arc or elliptic arc from its degrees as the file writes them: a clockwise one has both
// angles as their complements, swapped. A sweep of a whole turn stays one.
void SetSweep(HatchEdge& edge, double start, double end, bool ccw) {
  if (!ccw) {
    const double from = 360 - end;
    end = 360 - start;
    start = from;
  }
  double sweep = std::fmod(end - start, 360.0);
  if (sweep < 0) sweep += 360;
  if (sweep == 0 && end != start) sweep = 360;
  double from = start * kPiD / 180;
  double to = from + sweep * kPiD / 180;
  if (edge.kind == HatchEdge::Kind::kEllipse && sweep < 360 && edge.ratio > 0) {
    // The file gives angles from the centre; the curve is drawn by its parameter.
    const auto parameter = [&](double angle) {
      return std::atan2(std::sin(angle) / edge.ratio, std::cos(angle));
    };
    const double turns = std::floor(from / (2 * kPiD));
    from = parameter(from);
    to = parameter(to);
    while (to < from) to += 2 * kPiD;
    from += turns * 2 * kPiD;
    to += turns * 2 * kPiD;
  }
  edge.start = from;
  edge.end = to;
}

// Appends one edge's points to an outline, turned so that they follow on from its end; the
// first edge turns too when the second meets it at its start.
void Append(std::vector<Point>& outline, std::vector<Point> piece, bool second) {
  if (piece.empty()) return;
  if (!outline.empty()) {
    const auto nearest = [&](Point at) {
      return std::min(Distance(at, piece.front()), Distance(at, piece.back()));
    };
    if (second && nearest(outline.front()) < nearest(outline.back())) {
      std::ranges::reverse(outline);
    }
    if (Distance(outline.back(), piece.back()) < Distance(outline.back(), piece.front())) {
      std::ranges::reverse(piece);
    }
  }
  // Where it meets the one before, that point is there already.
  const bool joined = !outline.empty() && outline.back().x == piece.front().x &&
                      outline.back().y == piece.front().y;
  outline.insert(outline.end(), piece.begin() + (joined ? 1 : 0), piece.end());
}

// The last point of a loop that came back to its first is the first.
std::vector<Point> Closed(std::vector<Point> outline) {
  if (outline.size() > 1 && outline.back().x == outline.front().x &&
      outline.back().y == outline.front().y) {
    outline.pop_back();
  }
  return outline;
}

std::vector<Point> EdgePoints(const HatchEdge& edge, const Affine& m) {
  switch (edge.kind) {
    case HatchEdge::Kind::kLine:
      return {m(edge.a), m(edge.b)};
    case HatchEdge::Kind::kArc:
      if (!(edge.radius > 0)) return {};
      return FlattenEllipse(m, edge.a, {edge.radius, 0}, {0, edge.radius}, edge.start, edge.end);
    case HatchEdge::Kind::kEllipse:
      return FlattenEllipse(m, edge.a, edge.b, {-edge.b.y * edge.ratio, edge.b.x * edge.ratio},
                            edge.start, edge.end);
    case HatchEdge::Kind::kSpline:
      return SplinePoints(edge.spline, edge.fit, m).value_or(std::vector<Point>{});
  }
  return {};
}

// Where line k of a family crosses an outline's edge, u along the line.
struct Crossing {
  double k, u;
  bool operator<(const Crossing& o) const { return k != o.k ? k < o.k : u < o.u; }
};

}  // namespace

std::optional<std::vector<Point>> SplinePoints(const SplineCurve& spline,
                                               const std::vector<Point>& fit, const Affine& m) {
  if (auto points = FlattenSpline(spline, m)) return points;
  if (fit.size() < 2) return std::nullopt;
  // Without control points the curve is known only through its fit points.
  std::vector<Point> points;
  points.reserve(fit.size());
  for (const Point& p : fit) points.push_back(m(p));
  return points;
}

HatchData ReadHatch(const Entity& e) {
  HatchData h;
  Reading reading = Reading::kHead;
  double start = 0, end = 0;
  bool ccw = true;
  const auto finish_edge = [&] {
    if (reading != Reading::kEdges || h.paths.empty() || h.paths.back().edges.empty()) return;
    HatchEdge& edge = h.paths.back().edges.back();
    if (edge.kind == HatchEdge::Kind::kArc || edge.kind == HatchEdge::Kind::kEllipse) {
      SetSweep(edge, start, end, ccw);
    }
  };
  for (const Group* g = e.begin + 1; g < e.end; ++g) {
    const double v = RealOf(g->value).value_or(0);
    const long long n = IntOf(g->value).value_or(0);
    if (g->code == 92 && reading != Reading::kHead && reading != Reading::kPattern) {
      finish_edge();
      reading = (n & 2) != 0 ? Reading::kPolyline : Reading::kEdges;
      h.paths.push_back({reading == Reading::kPolyline, {}, {}});
      continue;
    }
    if (g->code == 75 && reading != Reading::kHead && reading != Reading::kPattern) {
      finish_edge();
      reading = Reading::kPattern;
      continue;
    }
    switch (reading) {
      case Reading::kHead:
        if (g->code == 70) h.solid = h.solid || (n & 1) != 0;
        if (g->code == 2) h.solid = h.solid || UpperAscii(g->value) == "SOLID";
        if (g->code == 91) reading = Reading::kPathTail;
        break;
      case Reading::kPolyline: {
        std::vector<HatchVertex>& vertices = h.paths.back().vertices;
        if (g->code == 10) vertices.push_back({{v, 0}, 0});
        if (vertices.empty()) break;
        if (g->code == 20) vertices.back().p.y = v;
        if (g->code == 42) vertices.back().bulge = v;
        if (g->code == 97) reading = Reading::kPathTail;
        break;
      }
      case Reading::kEdges:
      case Reading::kSplineFit: {
        std::vector<HatchEdge>& edges = h.paths.back().edges;
        if (g->code == 72) {
          finish_edge();
          reading = Reading::kEdges;
          HatchEdge edge;
          edge.kind = n == 2   ? HatchEdge::Kind::kArc
                      : n == 3 ? HatchEdge::Kind::kEllipse
                      : n == 4 ? HatchEdge::Kind::kSpline
                               : HatchEdge::Kind::kLine;
          edges.push_back(std::move(edge));
          start = 0;
          end = 360;
          ccw = true;
          break;
        }
        if (edges.empty()) break;
        HatchEdge& edge = edges.back();
        const bool spline = edge.kind == HatchEdge::Kind::kSpline;
        if (g->code == 97) {
          // A spline's count of fit points, the second time (or elsewhere) the path's count of
          // the objects it came from, which ends its edges.
          finish_edge();
          reading = spline && reading == Reading::kEdges ? Reading::kSplineFit : Reading::kPathTail;
          break;
        }
        if (reading == Reading::kSplineFit) {
          if (g->code == 11) edge.fit.push_back({v, 0});
          if (g->code == 21 && !edge.fit.empty()) edge.fit.back().y = v;
          break;
        }
        if (spline) {
          if (g->code == 94) edge.spline.degree = n;
          if (g->code == 40) edge.spline.knots.push_back(v);
          if (g->code == 42) edge.spline.weights.push_back(v);
          if (g->code == 10) edge.spline.control.push_back({v, 0});
          if (g->code == 20 && !edge.spline.control.empty()) edge.spline.control.back().y = v;
          break;
        }
        if (g->code == 10) edge.a.x = v;
        if (g->code == 20) edge.a.y = v;
        if (g->code == 11) edge.b.x = v;
        if (g->code == 21) edge.b.y = v;
        if (g->code == 40) (edge.kind == HatchEdge::Kind::kArc ? edge.radius : edge.ratio) = v;
        if (g->code == 50) start = v;
        if (g->code == 51) end = v;
        if (g->code == 73) ccw = n != 0;
        break;
      }
      case Reading::kPathTail:
        break;
      case Reading::kPattern:
        if (g->code == 53) h.pattern.push_back({v * kPiD / 180, {}, {}, {}});
        if (h.pattern.empty()) break;
        if (g->code == 43) h.pattern.back().base.x = v;
        if (g->code == 44) h.pattern.back().base.y = v;
        if (g->code == 45) h.pattern.back().offset.x = v;
        if (g->code == 46) h.pattern.back().offset.y = v;
        if (g->code == 49) h.pattern.back().dashes.push_back(v);
        break;
    }
  }
  finish_edge();
  return h;
}

std::optional<std::vector<Point>> Outline(const HatchPath& path, const Affine& m,
                                          size_t max_points) {
  std::vector<Point> outline;
  size_t pieces = 0;
  const auto add = [&](std::vector<Point> piece) {
    if (outline.size() + piece.size() > max_points) return false;
    Append(outline, std::move(piece), ++pieces == 2);
    return true;
  };
  if (path.polyline) {
    const std::vector<HatchVertex>& v = path.vertices;
    for (size_t i = 0; i < v.size(); ++i) {
      const Point p = v[i].p, q = v[(i + 1) % v.size()].p;
      if (std::fabs(v[i].bulge) < 1e-12 || (p.x == q.x && p.y == q.y)) {
        if (!add({m(p), m(q)})) return std::nullopt;
        continue;
      }
      BulgeArc arc = ArcOfBulge(p, q, v[i].bulge);
      while (arc.end <= arc.start) arc.end += 2 * kPiD;
      if (!add(FlattenEllipse(m, arc.centre, {arc.radius, 0}, {0, arc.radius}, arc.start,
                              arc.end))) {
        return std::nullopt;
      }
    }
    return Closed(std::move(outline));
  }
  for (const HatchEdge& edge : path.edges) {
    if (!add(EdgePoints(edge, m))) return std::nullopt;
  }
  return Closed(std::move(outline));
}

FillFamily SolidFamily(double spacing) { return {{0, 0}, {1, 0}, {0, spacing}, {}}; }

FillFamily PatternFamily(const PatternLine& line, const Affine& m) {
  const Point along = m.Vector({std::cos(line.angle), std::sin(line.angle)});
  const double length = std::hypot(along.x, along.y);
  FillFamily f;
  f.origin = m(line.base);
  if (!(length > 0) || !std::isfinite(length)) return f;  // no step: refused as no spacing
  f.direction = {along.x / length, along.y / length};
  f.step = m.Vector(line.offset);
  for (const double dash : line.dashes) f.dashes.push_back(dash * length);
  return f;
}

std::expected<std::vector<FillSegment>, FillRefusal> FillLines(
    const std::vector<std::vector<Point>>& outlines, const std::vector<FillFamily>& families,
    size_t cap) {
  std::vector<FillSegment> out;
  for (const FillFamily& f : families) {
    const Point d = f.direction, n{-d.y, d.x};
    Point step = f.step;
    double spacing = Dot(step, n);
    if (!std::isfinite(spacing)) return std::unexpected(FillRefusal::kOutOfRange);
    if (spacing < 0) {
      spacing = -spacing;
      step = {-step.x, -step.y};
    }
    if (!(spacing > 0)) return std::unexpected(FillRefusal::kNoSpacing);
    // Line k lies at k·spacing across the direction: a point's v is its line number.
    const auto v_of = [&](Point p) { return Dot(Minus(p, f.origin), n) / spacing; };
    const auto u_of = [&](Point p) { return Dot(Minus(p, f.origin), d); };
    // Counted before they are made, so that a huge hatch costs no memory: an edge crosses
    // the lines from ceil of its lower end up to below its upper end.
    double count = 0;
    for (const std::vector<Point>& o : outlines) {
      for (size_t i = 0; i < o.size(); ++i) {
        const double va = v_of(o[i]), vb = v_of(o[(i + 1) % o.size()]);
        if (!std::isfinite(va) || !std::isfinite(vb) || std::fabs(va) > 1e15 ||
            std::fabs(vb) > 1e15) {
          return std::unexpected(FillRefusal::kOutOfRange);
        }
        count += std::fabs(std::ceil(va) - std::ceil(vb));
      }
    }
    if (count / 2 > static_cast<double>(cap - out.size())) {
      return std::unexpected(FillRefusal::kTooMany);
    }
    std::vector<Crossing> crossings;
    crossings.reserve(static_cast<size_t>(count));
    for (const std::vector<Point>& o : outlines) {
      for (size_t i = 0; i < o.size(); ++i) {
        const Point a = o[i], b = o[(i + 1) % o.size()];
        const double va = v_of(a), vb = v_of(b), ua = u_of(a), ub = u_of(b);
        const double top = std::ceil(std::max(va, vb));
        for (double k = std::ceil(std::min(va, vb)); k < top; ++k) {
          crossings.push_back({k, ua + (k - va) / (vb - va) * (ub - ua)});
        }
      }
    }
    std::sort(crossings.begin(), crossings.end());
    const double shift = Dot(step, d);  // each line's dashes start this much further along
    double period = 0;
    bool drawn = false;
    for (const double dash : f.dashes) {
      period += std::fabs(dash);
      drawn = drawn || dash > 0;
    }
    const bool dashed = drawn && period > 0 && std::isfinite(period);
    for (size_t i = 0; i + 1 < crossings.size(); ++i) {
      const Crossing c = crossings[i], next = crossings[i + 1];
      if (next.k != c.k) continue;  // an odd one left at the line's end
      ++i;
      const auto at = [&](double u) {
        return Point{f.origin.x + c.k * spacing * n.x + u * d.x,
                     f.origin.y + c.k * spacing * n.y + u * d.y};
      };
      const auto piece = [&](double from, double to) {
        if (to > from) out.push_back({at(from), at(to)});
        return out.size() <= cap;
      };
      if (!dashed) {
        if (!piece(c.u, next.u)) return std::unexpected(FillRefusal::kTooMany);
        continue;
      }
      const double w0 = c.u - c.k * shift, w1 = next.u - c.k * shift;
      if ((w1 - w0) / period > static_cast<double>(cap) || std::fabs(w0 / period) > 1e12) {
        return std::unexpected(FillRefusal::kTooMany);
      }
      for (double j = std::floor(w0 / period); j * period < w1; ++j) {
        double from = j * period;
        for (const double dash : f.dashes) {
          const double to = from + std::fabs(dash);
          if (dash > 0 &&
              !piece(std::max(from, w0) + c.k * shift, std::min(to, w1) + c.k * shift)) {
            return std::unexpected(FillRefusal::kTooMany);
          }
          from = to;
        }
      }
    }
  }
  return out;
}

}  // namespace blok::dxf
