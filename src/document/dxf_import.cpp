#include "document/dxf_import.h"

#include <dxflib/dl_codes.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <new>
#include <numbers>
#include <set>

#include "document/dxf_reader.h"
#include "document/library_rules.h"
#include "document/text_file.h"
#include "model/cp1250.h"
#include "model/entity.h"
#include "model/entity_writer.h"
#include "model/numbers.h"

namespace blok {
namespace {

using dxf::BlockDefinition;
using dxf::Decode;
using dxf::Drawing;
using dxf::Entity;
using dxf::Group;
using dxf::IntOf;
using dxf::Layer;
using dxf::RealOf;
using dxf::UpperAscii;

constexpr double kPiD = std::numbers::pi;
// Curves are flattened so that no point is further than this share of their size from them.
constexpr double kFlatness = 0.001;
// Inserts within inserts, as deep as other CAD programs go.
constexpr int kMaxNesting = 16;
// Entity lines one import may make: expanded arrays of nested inserts grow fast.
constexpr size_t kMaxLines = 2'000'000;
// Points of one flattened curve.
constexpr size_t kMaxCurvePoints = 100'000;

// What the code page can hold of a text: other characters become "?", control characters
// spaces, so that the line reads back as written.
std::string FitToCodePage(std::string_view text) {
  std::string bytes = Utf8ToCp1250(text);
  for (char& c : bytes) {
    if (static_cast<unsigned char>(c) < 0x20) c = ' ';
  }
  return Cp1250ToUtf8(bytes);
}

// TEXT's control sequences: %%d degree, %%p plus-minus, %%c diameter (written "fi", as
// drawings in this code page write it), %%% a percent sign, %%nnn a character by number;
// %%u and %%o only switch underlining and overlining.
std::string PlainText(std::string_view text) {
  if (text.find("%%") == std::string_view::npos) return std::string(text);
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text.compare(i, 2, "%%") != 0 || i + 2 >= text.size()) {
      out += text[i];
      continue;
    }
    const char c = static_cast<char>(std::tolower(static_cast<unsigned char>(text[i + 2])));
    if (c == 'd') {
      out += "°";
    } else if (c == 'p') {
      out += "±";
    } else if (c == 'c') {
      out += "fi";
    } else if (c == '%') {
      out += '%';
    } else if (c == 'u' || c == 'o' || c == 'k') {
    } else if (std::isdigit(static_cast<unsigned char>(c))) {
      size_t n = i + 2, value = 0;
      while (n < text.size() && n < i + 5 && std::isdigit(static_cast<unsigned char>(text[n]))) {
        value = value * 10 + static_cast<size_t>(text[n] - '0');
        ++n;
      }
      dxf::AppendUtf8(out, Cp1250ToCodePoint(static_cast<unsigned char>(value & 0xFF)));
      i = n - 1;
      continue;
    } else {
      out += "%%";
      i += 1;
      continue;
    }
    i += 2;
  }
  return out;
}

// -------- geometry

struct Point {
  double x = 0, y = 0;
};

// x' = a x + c y + e, y' = b x + d y + f.
struct Affine {
  double a = 1, b = 0, c = 0, d = 1, e = 0, f = 0;

  Point operator()(Point p) const { return {a * p.x + c * p.y + e, b * p.x + d * p.y + f}; }
  Point Vector(Point v) const { return {a * v.x + c * v.y, b * v.x + d * v.y}; }
  Affine operator*(const Affine& o) const {  // this after o
    return {a * o.a + c * o.b, b * o.a + d * o.b,     a * o.c + c * o.d,
            b * o.c + d * o.d, a * o.e + c * o.f + e, b * o.e + d * o.f + f};
  }
  double Det() const { return a * d - b * c; }
  // Equal scales on perpendicular axes: circles stay circles.
  bool Similar() const {
    const double sx = std::hypot(a, b), sy = std::hypot(c, d);
    const double tol = 1e-9 * std::max(sx, sy);
    return std::fabs(sx - sy) <= tol && std::fabs(a * c + b * d) <= tol * std::max(sx, sy);
  }
  double Scale() const { return std::hypot(a, b); }
  double Rotation() const { return std::atan2(b, a); }
};

Affine Translation(double x, double y) { return {1, 0, 0, 1, x, y}; }
Affine Rotation(double radians) {
  const double c = std::cos(radians), s = std::sin(radians);
  return {c, s, -s, c, 0, 0};
}
Affine Scaling(double x, double y) { return {x, 0, 0, y, 0, 0}; }

double Degrees360(double radians) {
  double d = std::fmod(radians * 180 / kPiD, 360.0);
  if (d < 0) d += 360;
  if (d >= 360) d -= 360;
  return d;
}

// Parameter steps of a circle flattened within kFlatness of its radius.
double FlatStep() {
  static const double step = 2 * std::acos(1 - kFlatness);
  return step;
}

// -------- colours and thicknesses

constexpr std::array<double, 13> kThicknesses = {0.10, 0.12, 0.15, 0.18, 0.20, 0.25, 0.30,
                                                 0.35, 0.50, 0.60, 0.70, 0.80, 1.00};

Colour TrueColour(long long rgb) {
  return RgbColour(static_cast<int>(rgb >> 16 & 255), static_cast<int>(rgb >> 8 & 255),
                   static_cast<int>(rgb & 255));
}

// Index 7 is white on a dark screen and black on paper: black here.
Colour IndexedColour(long long index) {
  if (index < 0) index = -index;
  if (index < 1 || index > 255 || index == 7) return 0;
  const auto& rgb = dxfColors[index];
  return RgbColour(static_cast<int>(std::lround(rgb[0] * 255)),
                   static_cast<int>(std::lround(rgb[1] * 255)),
                   static_cast<int>(std::lround(rgb[2] * 255)));
}

struct Style {
  Colour colour = 0;
  double thickness = kThicknesses[0];
};

// -------- the conversion

class Importer {
 public:
  Importer(const Drawing& drawing, const DxfImportOptions& options, DxfImportReport& report)
      : drawing_(drawing), options_(options), report_(report) {}

  // The entities of one block into lines, under the root transform.
  Result<std::vector<std::string>> Block(const std::string& name,
                                         const std::vector<Entity>& entities, const Affine& root,
                                         const BlockDefinition* self) {
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

 private:
  void Skip(std::string_view type, std::string_view why = {}) {
    ++report_.skipped[std::string(type)];
    std::string each = "blok " + block_name_ + ": " + std::string(type);
    if (!why.empty()) each += " (" + std::string(why) + ")";
    report_.skipped_each.push_back(std::move(each));
  }

  const Layer* LayerOf(const Entity& e) const {
    const Group* g = e.Find(8);
    const auto found = drawing_.layers.find(UpperAscii(g == nullptr ? "0" : g->value));
    return found == drawing_.layers.end() ? nullptr : &found->second;
  }

  Style StyleOf(const Entity& e, const Style& by_block) const {
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
  bool Visit() {
    if (++visits_ <= 4 * kMaxLines) return true;
    if (!error_) error_ = Error{"rysunek DXF jest za duży: za dużo wstawień bloków"};
    return false;
  }

  bool Room() {
    if (lines_.size() < kMaxLines) return true;
    if (!error_)
      error_ = Error{"rysunek DXF jest za duży: ponad " + std::to_string(kMaxLines) +
                     " obiektów w bloku " + block_name_};
    return false;
  }

  void Emit(const EntityFields& fields, const Style& style, std::string_view type) {
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

  void Segment(Point p, Point q, const Style& style, std::string_view type) {
    Emit(SegmentFields{'L', p.x, p.y, q.x, q.y}, style, type);
  }

  void Polyline(const std::vector<Point>& points, const Style& style, std::string_view type) {
    for (size_t i = 1; i < points.size(); ++i) Segment(points[i - 1], points[i], style, type);
  }

  // A circular arc (radians, counter-clockwise from start to end) through the transform: still
  // an arc when it keeps circles, else flattened.
  void Arc(const Affine& m, Point centre, double radius, double start, double end, bool full,
           const Style& style, std::string_view type) {
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
      Emit(ArcFields{c.x, c.y, r, Degrees360(s), Degrees360(e)}, style, type);
      return;
    }
    if (full) {
      start = 0;
      end = 2 * kPiD;
    } else {
      while (end <= start) end += 2 * kPiD;
    }
    Flattened(m, centre, {radius, 0}, {0, radius}, start, end, style, type);
  }

  // Points c + cos t·u + sin t·v for t from start to end, through the transform. An affine
  // image of a circle stays within the flatness for the same steps of t.
  void Flattened(const Affine& m, Point c, Point u, Point v, double start, double end,
                 const Style& style, std::string_view type) {
    const double span = end - start;
    const size_t steps = static_cast<size_t>(
        std::clamp(std::ceil(std::fabs(span) / FlatStep()), 1.0, double{kMaxCurvePoints}));
    std::vector<Point> points;
    points.reserve(steps + 1);
    for (size_t i = 0; i <= steps; ++i) {
      const double t = start + span * static_cast<double>(i) / static_cast<double>(steps);
      points.push_back(m({c.x + std::cos(t) * u.x + std::sin(t) * v.x,
                          c.y + std::cos(t) * u.y + std::sin(t) * v.y}));
    }
    Polyline(points, style, type);
  }

  // A straight or bulged polyline segment; bulge is the tangent of a quarter of its angle,
  // positive counter-clockwise.
  void Bulged(const Affine& m, Point p, Point q, double bulge, const Style& style,
              std::string_view type) {
    if (std::fabs(bulge) < 1e-12 || (p.x == q.x && p.y == q.y)) {
      Segment(m(p), m(q), style, type);
      return;
    }
    const double k = (1 - bulge * bulge) / (4 * bulge);
    const Point centre{(p.x + q.x) / 2 - k * (q.y - p.y), (p.y + q.y) / 2 + k * (q.x - p.x)};
    const double radius = std::hypot(p.x - centre.x, p.y - centre.y);
    double a1 = std::atan2(p.y - centre.y, p.x - centre.x);
    double a2 = std::atan2(q.y - centre.y, q.x - centre.x);
    if (bulge < 0) std::swap(a1, a2);
    Arc(m, centre, radius, a1, a2, false, style, type);
  }

  struct Vertex {
    Point p;
    double bulge = 0;
  };

  void Poly(const Affine& m, const std::vector<Vertex>& vertices, bool closed, const Style& style,
            std::string_view type) {
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
      const bool level_first = same(c[0].y, c[1].y) && same(c[1].x, c[2].x) &&
                               same(c[2].y, c[3].y) && same(c[3].x, c[0].x);
      const bool plumb_first = same(c[0].x, c[1].x) && same(c[1].y, c[2].y) &&
                               same(c[2].x, c[3].x) && same(c[3].y, c[0].y);
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
  std::optional<Affine> Ocs(const Entity& e, const Affine& m) {
    const double ex = e.Real(210), ey = e.Real(220), ez = e.Real(230, 1);
    if (std::fabs(ex) > 1e-9 || std::fabs(ey) > 1e-9 || ez == 0) return std::nullopt;
    return ez < 0 ? m * Scaling(-1, 1) : m;
  }

  void Convert(const Entity& e, const Affine& m, const Style& by_block, int depth) {
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
    const auto ocs = Ocs(e, m);
    if (type == "CIRCLE" || type == "ARC" || type == "LWPOLYLINE" || type == "POLYLINE" ||
        type == "TEXT") {
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
    } else {
      Skip(type);
    }
  }

  void Insert(const Entity& e, const Affine& m, const Style& style, int depth) {
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

  void Ellipse(const Entity& e, const Affine& m, const Style& style) {
    const Point c{e.Real(10), e.Real(20)};
    const Point major{e.Real(11), e.Real(21)};
    const double ratio = e.Real(40, 1);
    const double ez = e.Real(230, 1);
    if (std::fabs(e.Real(210)) > 1e-9 || std::fabs(e.Real(220)) > 1e-9 || ez == 0) {
      Skip("ELLIPSE", "poza płaszczyzną rysunku");
      return;
    }
    const double length = std::hypot(major.x, major.y);
    if (!(length > 0) || !(ratio > 0) || !std::isfinite(ratio)) {
      Skip("ELLIPSE", "zerowa oś");
      return;
    }
    // The minor axis is the extrusion's cross product with the major one.
    const Point minor = ez > 0 ? Point{-major.y * ratio, major.x * ratio}
                               : Point{major.y * ratio, -major.x * ratio};
    double start = e.Real(41), end = e.Real(42, 2 * kPiD);
    const bool full =
        std::fabs(std::fabs(end - start) - 2 * kPiD) < 1e-9 || std::fabs(end - start) < 1e-12;
    while (end <= start) end += 2 * kPiD;
    if (std::fabs(ratio - 1) < 1e-9) {
      const double turn = std::atan2(major.y, major.x);
      // Seen from below the parameter runs clockwise.
      if (ez > 0) {
        Arc(m, c, length, turn + start, turn + end, full, style, "ELLIPSE");
      } else {
        Arc(m, c, length, turn - end, turn - start, full, style, "ELLIPSE");
      }
      return;
    }
    if (full) {
      start = 0;
      end = 2 * kPiD;
    }
    Flattened(m, c, major, minor, start, end, style, "ELLIPSE");
  }

  void Spline(const Entity& e, const Affine& m, const Style& style) {
    std::vector<double> knots, weights;
    std::vector<Point> control, fit;
    for (const Group* g = e.begin + 1; g < e.end; ++g) {
      const double v = RealOf(g->value).value_or(0);
      switch (g->code) {
        case 40:
          knots.push_back(v);
          break;
        case 41:
          weights.push_back(v);
          break;
        case 10:
          control.push_back({v, 0});
          break;
        case 20:
          if (!control.empty()) control.back().y = v;
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
    const long long degree = e.Int(71, 3);
    const size_t n = control.size();
    const bool valid =
        degree >= 1 && degree <= 25 && n > static_cast<size_t>(degree) &&
        knots.size() == n + static_cast<size_t>(degree) + 1 && std::ranges::is_sorted(knots) &&
        knots[n] > knots[static_cast<size_t>(degree)] && (weights.empty() || weights.size() == n);
    if (!valid) {
      if (fit.size() >= 2) {
        // Without control points the curve is known only through its fit points.
        std::vector<Point> points;
        for (const Point& p : fit) points.push_back(m(p));
        Polyline(points, style, "SPLINE");
        return;
      }
      Skip("SPLINE", "niepoprawne węzły lub punkty kontrolne");
      return;
    }
    const auto p = static_cast<size_t>(degree);
    std::vector<Point> work(p + 1);
    std::vector<double> work_w(p + 1);
    const auto at = [&](double t) {
      size_t k = p;
      while (k + 1 < n && knots[k + 1] <= t) ++k;
      for (size_t j = 0; j <= p; ++j) {
        const double w = weights.empty() ? 1 : weights[k - p + j];
        work[j] = {control[k - p + j].x * w, control[k - p + j].y * w};
        work_w[j] = w;
      }
      for (size_t r = 1; r <= p; ++r) {
        for (size_t j = p; j >= r; --j) {
          const size_t i = k - p + j;
          const double den = knots[i + p - r + 1] - knots[i];
          const double a = den > 0 ? (t - knots[i]) / den : 0;
          work[j] = {(1 - a) * work[j - 1].x + a * work[j].x,
                     (1 - a) * work[j - 1].y + a * work[j].y};
          work_w[j] = (1 - a) * work_w[j - 1] + a * work_w[j];
        }
      }
      const double w = work_w[p] != 0 ? work_w[p] : 1;
      return m({work[p].x / w, work[p].y / w});
    };
    // The size that the flatness is a share of: the transformed control polygon's extent.
    double xmin = 1e300, xmax = -1e300, ymin = 1e300, ymax = -1e300;
    for (const Point& c : control) {
      const Point q = m(c);
      xmin = std::min(xmin, q.x);
      xmax = std::max(xmax, q.x);
      ymin = std::min(ymin, q.y);
      ymax = std::max(ymax, q.y);
    }
    const double tolerance = kFlatness * std::hypot(xmax - xmin, ymax - ymin);
    std::vector<Point> points;
    points.push_back(at(knots[p]));
    // Each knot span in equal steps, halved again where the curve strays from its chord.
    std::vector<double> breaks;
    for (size_t i = p; i <= n; ++i) {
      if (breaks.empty() || knots[i] > breaks.back()) breaks.push_back(knots[i]);
    }
    const auto refine = [&](auto&& self, double a, Point pa, double b, Point pb,
                            int level) -> void {
      const double mid = (a + b) / 2;
      const Point pm = at(mid);
      const double dx = pb.x - pa.x, dy = pb.y - pa.y;
      const double chord = std::hypot(dx, dy);
      const double off = chord > 0 ? std::fabs((pm.x - pa.x) * dy - (pm.y - pa.y) * dx) / chord
                                   : std::hypot(pm.x - pa.x, pm.y - pa.y);
      if (level < 20 && off > tolerance && points.size() < kMaxCurvePoints) {
        self(self, a, pa, mid, pm, level + 1);
        self(self, mid, pm, b, pb, level + 1);
      } else {
        points.push_back(pb);
      }
    };
    for (size_t i = 1; i < breaks.size(); ++i) {
      constexpr int kStart = 4;
      for (int s = 0; s < kStart; ++s) {
        const double a = breaks[i - 1] + (breaks[i] - breaks[i - 1]) * s / kStart;
        const double b = breaks[i - 1] + (breaks[i] - breaks[i - 1]) * (s + 1) / kStart;
        refine(refine, a, points.back(), b, at(s + 1 == kStart ? breaks[i] : b), 0);
      }
    }
    Polyline(points, style, "SPLINE");
  }

  // A DXF text (baseline start p, capital height, width factor, angle in degrees, mirror
  // flags) as the editor's text: the stroke font's size and its insertion point at the foot of
  // the descenders.
  void TextLine(const Affine& m, std::string text, Point p, double cap_height, double factor,
                double degrees, bool backward, bool upside_down, const Style& style,
                std::string_view type) {
    text = FitToCodePage(text);
    if (text.find_first_not_of(' ') == std::string::npos) return;  // nothing to see
    if (!(cap_height > 0) || !(factor > 0) || !std::isfinite(degrees)) {
      Skip(type, "zerowa wysokość");
      return;
    }
    const double angle = degrees * kPiD / 180;
    const Point dir = m.Vector({std::cos(angle), std::sin(angle)});
    const Point up = m.Vector({-std::sin(angle), std::cos(angle)});
    const double along = std::hypot(dir.x, dir.y), across = std::hypot(up.x, up.y);
    if (!(along > 0) || !(across > 0)) {
      Skip(type, "skala zerowa");
      return;
    }
    const Point at = m(p);
    const double turned = std::atan2(dir.y, dir.x);
    // The angle as the file gave it, turned as much as the transform turns it: 270 stays 270.
    const double turn = std::remainder(turned - angle, 2 * kPiD);
    if (std::fabs(turn) > 1e-12) degrees += turn * 180 / kPiD;
    const double font_height = cap_height * across / (options_.capital.height * kFontUnit);
    const double height = upside_down ? -font_height : font_height;
    double width = factor * font_height * along / across;
    if (backward != (m.Det() < 0)) width = -width;
    const double to_foot = options_.capital.foot * kFontUnit * height;
    const double x = at.x + to_foot * std::sin(turned), y = at.y - to_foot * std::cos(turned);
    TextFields fields{x, y, text, height, width, degrees};
    if (CharacterCount(text) > kLongestEntityLine / 2) {
      // A text too long for one line keeps what fits.
      LineFormat format;
      format.colour = style.colour;
      format.thickness = ThicknessNumber{style.thickness, kThicknessPattern, '.'};
      TextFields bare = fields;
      bare.text = "";
      if (const auto line = WriteEntityLine(bare, format)) {
        const size_t room =
            kLongestEntityLine - std::min(kLongestEntityLine, CharacterCount(*line));
        text = CutToCharacters(text, room);
        fields.text = text;
      }
    }
    Emit(fields, style, type);
  }

  double Length(std::string_view text, double cap_height, double factor) const {
    if (!options_.text_length) return 0;
    const double height = cap_height / (options_.capital.height * kFontUnit);
    return options_.text_length(text, factor * height);
  }

  void Text(const Entity& e, const Affine& m, const Style& style) {
    const std::string text = PlainText(Decode(e.Text(1), drawing_.encoding));
    const double height = e.Real(40), factor = e.Real(41, 1);
    const double angle = e.Real(50) * kPiD / 180;
    const long long flags = e.Int(71);
    const long long horizontal = e.Int(72), vertical = e.Int(73);
    Point p{e.Real(10), e.Real(20)};
    if ((horizontal == 1 || horizontal == 2 || horizontal == 4 || vertical != 0) &&
        e.Find(11) != nullptr) {
      // Justified: the second point is where the text is aligned.
      const Point a{e.Real(11), e.Real(21)};
      double shift = Length(text, height, factor);
      shift *= horizontal == 2 ? 1.0 : horizontal == 1 || horizontal == 4 ? 0.5 : 0.0;
      double drop = vertical == 3 ? height : vertical == 2 || horizontal == 4 ? height / 2 : 0;
      p = {a.x - shift * std::cos(angle) + drop * std::sin(angle),
           a.y - shift * std::sin(angle) - drop * std::cos(angle)};
    }
    TextLine(m, text, p, height, factor, e.Real(50), (flags & 2) != 0, (flags & 4) != 0, style,
             "TEXT");
  }

  void Mtext(const Entity& e, const Affine& m, const Style& style) {
    const double ez = e.Real(230, 1);
    if (std::fabs(e.Real(210)) > 1e-9 || std::fabs(e.Real(220)) > 1e-9 || ez == 0) {
      Skip("MTEXT", "poza płaszczyzną rysunku");
      return;
    }
    std::string raw;
    for (const Group* g = e.begin + 1; g < e.end; ++g) {
      if (g->code == 3) raw += g->value;
    }
    raw += e.Text(1);
    const std::vector<std::string> lines = PlainMtextLines(Decode(raw, drawing_.encoding));
    const double height = e.Real(40);
    double angle = e.Real(50) * kPiD / 180;
    if (e.Find(11) != nullptr) angle = std::atan2(e.Real(21), e.Real(11));
    const Affine local = ez > 0 ? m : m * Scaling(-1, 1);
    const long long attachment = std::clamp(e.Int(71, 1), 1LL, 9LL);
    const double spacing = height * 5.0 / 3.0 * std::clamp(e.Real(44, 1), 0.25, 4.0);
    const double total = height + spacing * static_cast<double>(lines.size() - 1);
    const double top = attachment <= 3 ? 0 : attachment <= 6 ? total / 2 : total;
    const Point at{e.Real(10), e.Real(20)};
    const double c = std::cos(angle), s = std::sin(angle);
    for (size_t i = 0; i < lines.size(); ++i) {
      const double down = top - height - spacing * static_cast<double>(i);
      const long long column = (attachment - 1) % 3;
      const double shift = column == 0 ? 0 : Length(lines[i], height, 1) * (column == 1 ? .5 : 1);
      const Point p{at.x - shift * c - down * s, at.y - shift * s + down * c};
      TextLine(local, lines[i], p, height, 1, angle * 180 / kPiD, false, false, style, "MTEXT");
    }
  }

  const Drawing& drawing_;
  const DxfImportOptions& options_;
  DxfImportReport& report_;
  std::string block_name_;
  std::vector<std::string> lines_;
  std::vector<const BlockDefinition*> stack_;
  std::optional<Error> error_;
  size_t visits_ = 0;
};

// -------- units

struct UnitChoice {
  std::string unit;
  double scale;  // from the file's numbers to the unit's
};

// $INSUNITS in millimetres, as the codes number them.
std::optional<double> Millimetres(long long code) {
  static constexpr std::array<double, 21> kSizes = {
      0,           25.4, 304.8, 1609344, 1,   10,  1000, 1e6,  25.4e-6,        0.0254,
      914.4,       1e-7, 1e-6,  1e-3,    100, 1e4, 1e5,  1e12, 1.495978707e14, 9.4607304725808e18,
      3.0856776e19};
  if (code < 1 || code > 20) return std::nullopt;
  return kSizes[static_cast<size_t>(code)];
}

UnitChoice ChooseUnit(const Drawing& d, const DxfImportOptions& options, DxfImportReport& report) {
  if (options.unit) return {*options.unit, 1};
  const auto size = d.units ? Millimetres(*d.units) : std::nullopt;
  if (!size) {
    report.notes.push_back("rysunek DXF nie podaje jednostki: przyjęto m (--unit ją ustala)");
    return {"m", 1};
  }
  // The nearest of the three on a logarithmic scale: inches become centimetres, feet metres.
  struct Named {
    const char* unit;
    double mm;
  };
  static constexpr Named kUnits[] = {{"mm", 1}, {"cm", 10}, {"m", 1000}};
  const Named* best = &kUnits[0];
  for (const Named& u : kUnits) {
    if (std::fabs(std::log(*size / u.mm)) < std::fabs(std::log(*size / best->mm))) best = &u;
  }
  if (best->mm != *size) {
    report.notes.push_back("jednostka rysunku DXF zamieniona na " + std::string(best->unit));
  }
  return {best->unit, *size / best->mm};
}

std::optional<std::string> NameProblem(const std::string& name) {
  if (name.empty()) return "pusta nazwa bloku";
  if (name.find_first_of("\r\n") != std::string::npos) return "nazwa zawiera koniec wiersza";
  return BlockNameProblem(name);
}

Result<DxfImportReport> Import(std::string_view bytes, const std::filesystem::path& file,
                               const DxfImportOptions& options) {
  if (options.unit && *options.unit != "m" && *options.unit != "cm" && *options.unit != "mm") {
    return Fail("nieznana jednostka „" + *options.unit + "”: dozwolone są m, cm i mm");
  }
  auto groups = dxf::Tokenize(bytes, file.string());
  if (!groups) return std::unexpected(groups.error());
  const Drawing drawing = dxf::ReadDrawing(*groups);
  DxfImportReport report;
  const UnitChoice unit = ChooseUnit(drawing, options, report);
  const Affine root = Scaling(unit.scale, unit.scale);
  Importer importer(drawing, options, report);
  const std::string refused = "nie można zaimportować " + file.string() + ": ";

  const auto add = [&](std::string name, const std::vector<Entity>& entities, double base_x,
                       double base_y, const BlockDefinition* self) -> Result<void> {
    if (const auto problem = NameProblem(name)) {
      return Fail(refused + "nazwa bloku „" + name + "”: " + *problem);
    }
    auto lines = importer.Block(name, entities, root * Translation(-base_x, -base_y), self);
    if (!lines) return Fail(refused + lines.error().message);
    if (lines->empty()) {
      report.notes.push_back("blok " + name + " nie ma obiektów do zapisania: pominięty");
      return {};
    }
    report.blocks.push_back({std::move(name), unit.unit, std::move(*lines)});
    return {};
  };

  if (!options.all_blocks && options.only.empty()) {
    if (auto added =
            add(options.model_name, drawing.model, drawing.base_x, drawing.base_y, nullptr);
        !added) {
      return std::unexpected(added.error());
    }
    if (report.blocks.empty()) return Fail(refused + "rysunek nie ma obiektów do zapisania");
    return report;
  }
  std::set<std::string> wanted;
  for (const std::string& name : options.only) wanted.insert(UpperCp1250(name));
  std::set<std::string> found, taken;
  for (const BlockDefinition& b : drawing.blocks) {
    const std::string name = Decode(b.name, drawing.encoding);
    // Model and paper spaces, anonymous blocks (hatches, dimensions) and external references
    // are not symbols.
    if (name.empty() || name.starts_with('*') || (b.flags & (1 | 4 | 32)) != 0) continue;
    const std::string key = UpperCp1250(name);
    if (!wanted.empty() && !wanted.contains(key)) continue;
    if (!taken.insert(key).second) continue;  // DXF knows one block of a name
    found.insert(key);
    if (auto added = add(name, b.entities, b.base_x, b.base_y, &b); !added) {
      return std::unexpected(added.error());
    }
  }
  for (const std::string& name : options.only) {
    if (!found.contains(UpperCp1250(name))) {
      return Fail(refused + "rysunek nie ma bloku " + name);
    }
  }
  if (report.blocks.empty()) return Fail(refused + "rysunek nie ma bloków do zapisania");
  return report;
}

}  // namespace

double ThicknessOfLineweight(int lineweight) {
  if (lineweight < 0) return kThicknesses[0];
  const double mm = lineweight / 100.0;
  double best = kThicknesses[0];
  for (const double t : kThicknesses) {
    if (std::fabs(t - mm) < std::fabs(best - mm)) best = t;
  }
  return best;
}

std::vector<std::string> PlainMtextLines(std::string_view text) {
  constexpr size_t npos = std::string_view::npos;
  std::vector<std::string> lines(1);
  const auto skip_to = [&](size_t& i, char end) {
    const size_t found = text.find(end, i);
    i = found == std::string_view::npos ? text.size() : found;
  };
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '{' || c == '}') continue;
    if (c == '\n') {
      lines.emplace_back();
      continue;
    }
    // Caret notation of control characters: line ends and tabs; a caret else is itself.
    if (c == '^' && i + 1 < text.size() && std::string_view("IJM").find(text[i + 1]) != npos) {
      ++i;
      if (text[i] == 'I') {
        lines.back() += ' ';
      } else {
        lines.emplace_back();
      }
      continue;
    }
    if (c != '\\' || i + 1 >= text.size()) {
      lines.back() += c;
      continue;
    }
    const char code = text[++i];
    switch (code) {
      case 'P':
        lines.emplace_back();
        break;
      case '~':
        lines.back() += ' ';
        break;
      case '\\':
      case '{':
      case '}':
        lines.back() += code;
        break;
      case 'L':
      case 'l':
      case 'O':
      case 'o':
      case 'K':
      case 'k':
      case 'N':
        break;
      case 'S': {  // stacked: "1^2;" or "1/2;" reads as "1/2"
        const size_t start = i + 1;
        skip_to(i, ';');
        std::string stacked(text.substr(start, i - start));
        for (char& s : stacked) {
          if (s == '^' || s == '#') s = '/';
        }
        lines.back() += stacked;
        break;
      }
      default:
        // \A \C \c \F \f \H \Q \T \W \p take a value up to ";".
        if (std::string_view("ACcFfHQTWp").find(code) != std::string_view::npos) {
          skip_to(i, ';');
        }
        break;
    }
  }
  while (lines.size() > 1 && lines.back().empty()) lines.pop_back();
  return lines;
}

Result<DxfImportReport> ImportDxfBytes(std::string_view bytes, const std::filesystem::path& file,
                                       const DxfImportOptions& options) {
  try {
    return Import(bytes, file, options);
  } catch (const std::bad_alloc&) {
    return Fail("nie można zaimportować " + file.string() + ": za mało pamięci");
  }
}

Result<DxfImportReport> ImportDxf(const std::filesystem::path& file,
                                  const DxfImportOptions& options) {
  auto fd = OpenTextFile(file);
  if (!fd) return std::unexpected(fd.error());
  std::string bytes;
  try {
    struct stat status {};
    if (::fstat(fd->get(), &status) == 0 && status.st_size > 0) {
      bytes.reserve(static_cast<size_t>(status.st_size));
    }
    char buffer[1 << 16];
    for (;;) {
      const ssize_t got = ::read(fd->get(), buffer, sizeof buffer);
      if (got < 0) {
        if (errno == EINTR) continue;
        return Fail("nie można odczytać pliku " + file.string());
      }
      if (got == 0) break;
      bytes.append(buffer, static_cast<size_t>(got));
      if (bytes.size() > kMaxTextBytes)
        return std::unexpected(TooLargeError(file.string(), kMaxTextBytes));
    }
  } catch (const std::bad_alloc&) {
    return Fail("nie można odczytać pliku " + file.string() + ": za mało pamięci");
  }
  return ImportDxfBytes(bytes, file, options);
}

}  // namespace blok
