#include "document/dxf_convert.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "model/cp1250.h"
#include "model/numbers.h"

namespace blok::dxf {
namespace {

// Inserts within inserts, as deep as other CAD programs go.
constexpr int kMaxNesting = 16;
// Entity lines one import may make: expanded arrays of nested inserts grow fast.
constexpr size_t kMaxLines = 2'000'000;

}  // namespace

// The entities of one block into lines, under the root transform.
Result<std::vector<std::string>> Converter::Block(const std::string& name,
                                                  const std::vector<Entity>& entities,
                                                  const Affine& root, const BlockDefinition* self) {
  block_name_ = name;
  lines_.clear();
  error_.reset();
  stack_.clear();
  if (self != nullptr) stack_.push_back(self);
  for (const Entity& e : entities) {
    Convert(e, root, Style{}, 0);
    if (error_) return std::unexpected(*error_);
  }
  // The editor draws its lines from the last to the first, DXF in file order: reversed, what
  // lay on top stays on top.
  std::reverse(lines_.begin(), lines_.end());
  return std::move(lines_);
}

void Converter::Skip(std::string_view type, std::string_view why) {
  ++report_.skipped[std::string(type)];
  std::string each = "blok " + block_name_ + ": " + std::string(type);
  if (!why.empty()) each += " (" + std::string(why) + ")";
  report_.skipped_each.push_back(std::move(each));
}

const Layer* Converter::LayerOf(const Entity& e) const {
  const Group* g = e.Find(8);
  const auto found = drawing_.layers.find(UpperAscii(g == nullptr ? "0" : g->value));
  return found == drawing_.layers.end() ? nullptr : &found->second;
}

Style Converter::StyleOf(const Entity& e, const Style& by_block) const {
  const Layer* layer = LayerOf(e);
  Style s;
  if (const Group* g = e.Find(420); g != nullptr && IntOf(g->value)) {
    s.colour = TrueColour(*IntOf(g->value));
  } else {
    const long long index = e.Int(62, 256);
    if (index == 0) {
      s.colour = by_block.colour;
    } else if (index == 256) {
      if (layer != nullptr) {
        s.colour =
            layer->true_colour ? TrueColour(*layer->true_colour) : IndexedColour(layer->colour);
      }
    } else {
      s.colour = IndexedColour(index);
    }
  }
  long long weight = e.Int(370, -1);
  if (weight == -1) weight = layer != nullptr ? layer->lineweight : -3;
  if (weight == -2) {
    s.thickness = by_block.thickness;
  } else {
    s.thickness = ThicknessOfLineweight(static_cast<int>(std::clamp(weight, -3LL, 10000LL)));
  }
  return s;
}

// Arrays of inserts of blocks with nothing to draw cost time without making lines: every
// entity and every copy of an insert counts.
bool Converter::Visit() {
  if (++visits_ <= 4 * kMaxLines) return true;
  if (!error_) error_ = Error{"rysunek DXF jest za duży: za dużo wstawień bloków"};
  return false;
}

bool Converter::Room() {
  if (lines_.size() < kMaxLines) return true;
  if (!error_)
    error_ = Error{"rysunek DXF jest za duży: ponad " + std::to_string(kMaxLines) +
                   " obiektów w bloku " + block_name_};
  return false;
}

void Converter::Emit(const EntityFields& fields, const Style& style, std::string_view type) {
  if (!Room()) return;
  LineFormat format;
  format.colour = style.colour;
  format.thickness = ThicknessNumber{style.thickness, kThicknessPattern, '.'};
  auto line = WriteEntityLine(fields, format);
  if (!line) {
    Skip(type, line.error() == LineRefusal::kNumber ? "liczby poza zakresem"
                                                    : "tekstu nie da się zapisać");
    return;
  }
  lines_.push_back(std::move(*line));
}

void Converter::Segment(Point p, Point q, const Style& style, std::string_view type) {
  Emit(SegmentFields{'L', p.x, p.y, q.x, q.y}, style, type);
}

void Converter::Polyline(const std::vector<Point>& points, const Style& style,
                         std::string_view type) {
  for (size_t i = 1; i < points.size(); ++i) Segment(points[i - 1], points[i], style, type);
}

// A circular arc (radians, counter-clockwise from start to end) through the transform: still
// an arc when it keeps circles, else flattened.
void Converter::Arc(const Affine& m, Point centre, double radius, double start, double end,
                    bool full, const Style& style, std::string_view type) {
  if (!(radius > 0)) {
    Skip(type, "promień zerowy");
    return;
  }
  if (m.Similar()) {
    const Point c = m(centre);
    const double r = radius * m.Scale();
    if (full) {
      Emit(CircleFields{c.x, c.y, r}, style, type);
      return;
    }
    double s = start, e = end;
    if (m.Det() < 0) {
      // A mirror turns the arc clockwise: its ends swap.
      s = m.Rotation() - end;
      e = m.Rotation() - start;
    } else {
      s += m.Rotation();
      e += m.Rotation();
    }
    const double from = Degrees360(s), to = Degrees360(e);
    // Angles are written to four decimals of a degree: a sweep that rounds to a whole turn
    // would be written with equal angles and draw nothing, so it is the circle it nearly is;
    // one that rounds to nothing is no arc at all.
    const auto written = [](double degrees) { return std::llround(degrees * 1e4) % 3'600'000; };
    if (written(from) == written(to)) {
      if (Degrees360(e - s) > 180) {
        Emit(CircleFields{c.x, c.y, r}, style, type);
      } else {
        Skip(type, "łuk zerowy");
      }
      return;
    }
    Emit(ArcFields{c.x, c.y, r, from, to}, style, type);
    return;
  }
  if (full) {
    start = 0;
    end = 2 * kPiD;
  } else {
    while (end <= start) end += 2 * kPiD;
  }
  Polyline(FlattenEllipse(m, centre, {radius, 0}, {0, radius}, start, end), style, type);
}

// A straight or bulged polyline segment; bulge is the tangent of a quarter of its angle,
// positive counter-clockwise.
void Converter::Bulged(const Affine& m, Point p, Point q, double bulge, const Style& style,
                       std::string_view type) {
  if (std::fabs(bulge) < 1e-12 || (p.x == q.x && p.y == q.y)) {
    Segment(m(p), m(q), style, type);
    return;
  }
  const BulgeArc arc = ArcOfBulge(p, q, bulge);
  Arc(m, arc.centre, arc.radius, arc.start, arc.end, false, style, type);
}

void Converter::Poly(const Affine& m, const std::vector<Vertex>& vertices, bool closed,
                     const Style& style, std::string_view type) {
  if (vertices.size() < 2) {
    if (!vertices.empty()) Skip(type, "jeden wierzchołek");
    return;
  }
  if (closed && vertices.size() == 4 &&
      std::ranges::all_of(vertices, [](const Vertex& v) { return v.bulge == 0; })) {
    std::array<Point, 4> c;
    for (size_t i = 0; i < 4; ++i) c[i] = m(vertices[i].p);
    const auto same = [&](double u, double w) {
      return std::fabs(u - w) <= 1e-9 * std::max({1.0, std::fabs(u), std::fabs(w)});
    };
    const bool level_first = same(c[0].y, c[1].y) && same(c[1].x, c[2].x) && same(c[2].y, c[3].y) &&
                             same(c[3].x, c[0].x);
    const bool plumb_first = same(c[0].x, c[1].x) && same(c[1].y, c[2].y) && same(c[2].x, c[3].x) &&
                             same(c[3].y, c[0].y);
    if (level_first || plumb_first) {
      Emit(SegmentFields{'P', c[0].x, c[0].y, c[2].x, c[2].y}, style, type);
      return;
    }
  }
  const size_t n = vertices.size();
  for (size_t i = 0; i + 1 < n || (closed && i < n); ++i) {
    const Vertex& v = vertices[i];
    Bulged(m, v.p, vertices[(i + 1) % n].p, v.bulge, style, type);
  }
}

// The entity's own coordinates: an extrusion along -Z mirrors x.
std::optional<Affine> Converter::Ocs(const Entity& e, const Affine& m) {
  const double ex = e.Real(210), ey = e.Real(220), ez = e.Real(230, 1);
  if (std::fabs(ex) > 1e-9 || std::fabs(ey) > 1e-9 || ez == 0) return std::nullopt;
  return ez < 0 ? m * Scaling(-1, 1) : m;
}

void Converter::Convert(const Entity& e, const Affine& m, const Style& by_block, int depth) {
  if (!Visit()) return;
  const std::string_view type = e.type();
  const Style style = StyleOf(e, by_block);
  if (type == "LINE") {
    Segment(m({e.Real(10), e.Real(20)}), m({e.Real(11), e.Real(21)}), style, type);
    return;
  }
  if (type == "INSERT") {
    Insert(e, m, style, depth);
    return;
  }
  if (type == "ELLIPSE") {
    Ellipse(e, m, style);
    return;
  }
  if (type == "SPLINE") {
    Spline(e, m, style);
    return;
  }
  if (type == "MTEXT") {
    Mtext(e, m, style);
    return;
  }
  if (type == "POINT") {
    DxfPoint(e, m, style);
    return;
  }
  const auto ocs = Ocs(e, m);
  if (type == "CIRCLE" || type == "ARC" || type == "LWPOLYLINE" || type == "POLYLINE" ||
      type == "TEXT" || type == "HATCH") {
    if (!ocs) {
      Skip(type, "poza płaszczyzną rysunku");
      return;
    }
  }
  if (type == "CIRCLE") {
    Arc(*ocs, {e.Real(10), e.Real(20)}, e.Real(40), 0, 2 * kPiD, true, style, type);
  } else if (type == "ARC") {
    Arc(*ocs, {e.Real(10), e.Real(20)}, e.Real(40), e.Real(50) * kPiD / 180,
        e.Real(51) * kPiD / 180, false, style, type);
  } else if (type == "LWPOLYLINE") {
    std::vector<Vertex> vertices;
    for (const Group* g = e.begin + 1; g < e.end; ++g) {
      if (g->code == 10) {
        vertices.push_back({{RealOf(g->value).value_or(0), 0}, 0});
      } else if (g->code == 20 && !vertices.empty()) {
        vertices.back().p.y = RealOf(g->value).value_or(0);
      } else if (g->code == 42 && !vertices.empty()) {
        vertices.back().bulge = RealOf(g->value).value_or(0);
      }
    }
    Poly(*ocs, vertices, (e.Int(70) & 1) != 0, style, type);
  } else if (type == "POLYLINE") {
    if ((e.Int(70) & (8 | 16 | 64)) != 0) {
      Skip(type, "trójwymiarowa");
      return;
    }
    std::vector<Vertex> vertices;
    for (const Entity& v : e.vertices) {
      if ((v.Int(70) & 16) != 0) continue;  // a spline's frame, not on the curve
      vertices.push_back({{v.Real(10), v.Real(20)}, v.Real(42)});
    }
    Poly(*ocs, vertices, (e.Int(70) & 1) != 0, style, type);
  } else if (type == "TEXT") {
    Text(e, *ocs, style);
  } else if (type == "HATCH") {
    Hatch(e, *ocs, style);
  } else {
    Skip(type);
  }
}

void Converter::Insert(const Entity& e, const Affine& m, const Style& style, int depth) {
  const auto ocs = Ocs(e, m);
  if (!ocs) {
    Skip("INSERT", "poza płaszczyzną rysunku");
    return;
  }
  const auto found = drawing_.block_index.find(UpperAscii(e.Text(2)));
  if (found == drawing_.block_index.end()) {
    Skip("INSERT", "brak bloku " + Decode(e.Text(2), drawing_.encoding));
    return;
  }
  const BlockDefinition& block = drawing_.blocks[found->second];
  const std::string shown = Decode(block.name, drawing_.encoding);
  if (std::ranges::find(stack_, &block) != stack_.end()) {
    error_ = Error{"blok " + shown + " wstawia sam siebie (w bloku " + block_name_ + ")"};
    return;
  }
  if (depth >= kMaxNesting) {
    error_ = Error{"wstawienia bloków zagnieżdżone głębiej niż " + std::to_string(kMaxNesting) +
                   " (blok " + shown + " w bloku " + block_name_ + ")"};
    return;
  }
  const double sx = e.Real(41, 1), sy = e.Real(42, 1);
  const double angle = e.Real(50) * kPiD / 180;
  const long long columns = std::max(1LL, e.Int(70, 1)), rows = std::max(1LL, e.Int(71, 1));
  const double dx = e.Real(44), dy = e.Real(45);
  if (sx == 0 || sy == 0) {
    Skip("INSERT", "skala zerowa");
    return;
  }
  stack_.push_back(&block);
  const Affine placed = Scaling(sx, sy) * Translation(-block.base_x, -block.base_y);
  for (long long row = 0; row < rows && !error_; ++row) {
    for (long long column = 0; column < columns && !error_; ++column) {
      if (!Visit()) break;
      const Affine at =
          *ocs * Translation(e.Real(10), e.Real(20)) * Rotation(angle) *
          Translation(static_cast<double>(column) * dx, static_cast<double>(row) * dy) * placed;
      for (const Entity& inner : block.entities) {
        if (!Room()) break;
        Convert(inner, at, style, depth + 1);
        if (error_) break;
      }
    }
  }
  stack_.pop_back();
}

void Converter::Ellipse(const Entity& e, const Affine& m, const Style& style) {
  const Point c{e.Real(10), e.Real(20)};
  const Point major{e.Real(11), e.Real(21)};
  const double ez = e.Real(230, 1);
  if (std::fabs(e.Real(210)) > 1e-9 || std::fabs(e.Real(220)) > 1e-9 || ez == 0) {
    Skip("ELLIPSE", "poza płaszczyzną rysunku");
    return;
  }
  EllipseArc(m, c, major, e.Real(40, 1), e.Real(41), e.Real(42, 2 * kPiD), ez > 0, style,
             "ELLIPSE");
}

// An elliptic arc from parameter start to end; its minor axis is a quarter turn from the major
// one, counter-clockwise or not.
void Converter::EllipseArc(const Affine& m, Point c, Point major, double ratio, double start,
                           double end, bool counter_clockwise, const Style& style,
                           std::string_view type) {
  const double length = std::hypot(major.x, major.y);
  if (!(length > 0) || !(ratio > 0) || !std::isfinite(ratio)) {
    Skip(type, "zerowa oś");
    return;
  }
  // The minor axis is the extrusion's cross product with the major one.
  const Point minor = counter_clockwise ? Point{-major.y * ratio, major.x * ratio}
                                        : Point{major.y * ratio, -major.x * ratio};
  const bool full =
      std::fabs(std::fabs(end - start) - 2 * kPiD) < 1e-9 || std::fabs(end - start) < 1e-12;
  while (end <= start) end += 2 * kPiD;
  if (std::fabs(ratio - 1) < 1e-9) {
    const double turn = std::atan2(major.y, major.x);
    // Seen from below the parameter runs clockwise.
    if (counter_clockwise) {
      Arc(m, c, length, turn + start, turn + end, full, style, type);
    } else {
      Arc(m, c, length, turn - end, turn - start, full, style, type);
    }
    return;
  }
  if (full) {
    start = 0;
    end = 2 * kPiD;
  }
  Polyline(FlattenEllipse(m, c, major, minor, start, end), style, type);
}

void Converter::Spline(const Entity& e, const Affine& m, const Style& style) {
  SplineCurve spline;
  std::vector<Point> fit;
  for (const Group* g = e.begin + 1; g < e.end; ++g) {
    const double v = RealOf(g->value).value_or(0);
    switch (g->code) {
      case 40:
        spline.knots.push_back(v);
        break;
      case 41:
        spline.weights.push_back(v);
        break;
      case 10:
        spline.control.push_back({v, 0});
        break;
      case 20:
        if (!spline.control.empty()) spline.control.back().y = v;
        break;
      case 11:
        fit.push_back({v, 0});
        break;
      case 21:
        if (!fit.empty()) fit.back().y = v;
        break;
      default:
        break;
    }
  }
  spline.degree = e.Int(71, 3);
  Curve(spline, fit, m, style, "SPLINE");
}

void Converter::Curve(const SplineCurve& spline, const std::vector<Point>& fit, const Affine& m,
                      const Style& style, std::string_view type) {
  if (const auto points = SplinePoints(spline, fit, m)) {
    Polyline(*points, style, type);
    return;
  }
  Skip(type, "niepoprawne węzły lub punkty kontrolne");
}

}  // namespace blok::dxf
