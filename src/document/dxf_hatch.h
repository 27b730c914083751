#pragma once

// A HATCH entity of DXF: its boundary paths read from its groups, flattened into closed
// outlines, and the fill lines that cover the area inside them by the even-odd rule (an island
// inside a loop stays empty, one inside that is filled again).

#include <cstddef>
#include <expected>
#include <optional>
#include <vector>

#include "document/dxf_geometry.h"
#include "document/dxf_reader.h"

namespace blok::dxf {

// Fill lines of one hatch: past this the hatch keeps its boundary alone.
inline constexpr size_t kMaxFillLines = 5000;
// Points of the outlines of one hatch.
inline constexpr size_t kMaxOutlinePoints = 1'000'000;

struct HatchVertex {
  Point p;
  double bulge = 0;
};

// One edge of a boundary path. Arcs and elliptic arcs run counter-clockwise from start to end
// (radians, end above start, at most a whole turn apart) whichever way the file gives them.
struct HatchEdge {
  enum class Kind { kLine, kArc, kEllipse, kSpline };
  Kind kind = Kind::kLine;
  Point a, b;         // a line's ends; an arc's centre (a) and an ellipse's major axis (b)
  double radius = 0;  // of an arc
  double ratio = 1;   // of an ellipse: its minor axis to its major one
  double start = 0;   // the angle of an arc, the parameter of an ellipse
  double end = 0;
  SplineCurve spline;
  std::vector<Point> fit;  // a spline's fit points, for one without control points
};

// A closed loop: a polyline (vertices with bulges) or a chain of edges.
struct HatchPath {
  bool polyline = false;
  std::vector<HatchVertex> vertices;
  std::vector<HatchEdge> edges;
};

// One line of a pattern, as the file gives it (already turned and scaled): its angle
// (radians), a point it passes, the shift to the next line, and dashes (positive drawn,
// negative left out, zero a dot); no dashes is a full line.
struct PatternLine {
  double angle = 0;
  Point base, offset;
  std::vector<double> dashes;
};

struct HatchData {
  bool solid = false;
  std::vector<HatchPath> paths;
  std::vector<PatternLine> pattern;
};

// A spline's points through the transform (see FlattenSpline), else its fit points when there
// are two or more, else nothing.
std::optional<std::vector<Point>> SplinePoints(const SplineCurve& spline,
                                               const std::vector<Point>& fit, const Affine& m);

// The hatch's groups in the order DXF writes them; counts the file gives are taken as far as
// groups follow, never to reserve room.
HatchData ReadHatch(const Entity& e);

// A path through the transform as one closed outline (the last point joins the first): each
// edge flattened and turned to follow from the end of the one before. Nothing when it would
// take more than max_points.
std::optional<std::vector<Point>> Outline(const HatchPath& path, const Affine& m,
                                          size_t max_points);

// Parallel lines: through origin + k·step for every whole k, along the unit direction; dashes
// measured along each line from that point.
struct FillFamily {
  Point origin;
  Point direction{1, 0};
  Point step;
  std::vector<double> dashes;
};

// Level lines spacing apart (spacing > 0), through the origin.
FillFamily SolidFamily(double spacing);

// A pattern line through the transform.
FillFamily PatternFamily(const PatternLine& line, const Affine& m);

struct FillSegment {
  Point p, q;
};

enum class FillRefusal {
  kTooMany,     // more than the cap of segments
  kNoSpacing,   // a family's lines lie on one another
  kOutOfRange,  // numbers too large to compute with
};

// The families' lines, each clipped to the outlines by the even-odd rule; a line through a
// vertex counts it once, on the side of the edge above it.
std::expected<std::vector<FillSegment>, FillRefusal> FillLines(
    const std::vector<std::vector<Point>>& outlines, const std::vector<FillFamily>& families,
    size_t cap = kMaxFillLines);

}  // namespace blok::dxf
