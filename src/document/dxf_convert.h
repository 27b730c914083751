#pragma once

// The entities of a DXF drawing as entity lines: inserts expanded, styles resolved through
// layers and inserts, texts set as the stroke font sets them.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "document/dxf_geometry.h"
#include "document/dxf_hatch.h"
#include "document/dxf_import.h"
#include "document/dxf_reader.h"
#include "document/dxf_values.h"
#include "model/entity.h"
#include "model/entity_writer.h"
#include "model/error.h"
#include "model/thickness.h"

namespace blok::dxf {

// The colour and thickness an entity is drawn with; an insert's are what its block's entities
// of colour or line weight BYBLOCK take.
struct Style {
  Colour colour = 0;
  double thickness = kThicknessChoices[0].millimetres;
};

// Converts the blocks of one drawing, one after another, into the report's skipped entities and
// the lines it returns. Entities visited count over all blocks, so that one import stays
// bounded.
class Converter {
 public:
  Converter(const Drawing& drawing, const DxfImportOptions& options, const UnitChoice& unit,
            DxfImportReport& report)
      : drawing_(drawing), options_(options), unit_(unit), report_(report) {}

  // The entities of one block into lines, under the root transform; self is the block's own
  // definition (an insert of it within is an error), when it is one.
  Result<std::vector<std::string>> Block(const std::string& name,
                                         const std::vector<Entity>& entities, const Affine& root,
                                         const BlockDefinition* self);

 private:
  using Vertex = HatchVertex;

  void Skip(std::string_view type, std::string_view why = {});
  const Layer* LayerOf(const Entity& e) const;
  Style StyleOf(const Entity& e, const Style& by_block) const;
  bool Visit();
  bool Room();
  void Emit(const EntityFields& fields, const Style& style, std::string_view type);
  void Segment(Point p, Point q, const Style& style, std::string_view type);
  void Polyline(const std::vector<Point>& points, const Style& style, std::string_view type);
  void Arc(const Affine& m, Point centre, double radius, double start, double end, bool full,
           const Style& style, std::string_view type);
  void Bulged(const Affine& m, Point p, Point q, double bulge, const Style& style,
              std::string_view type);
  void Poly(const Affine& m, const std::vector<Vertex>& vertices, bool closed, const Style& style,
            std::string_view type);
  std::optional<Affine> Ocs(const Entity& e, const Affine& m);
  void Convert(const Entity& e, const Affine& m, const Style& by_block, int depth);
  void Insert(const Entity& e, const Affine& m, const Style& style, int depth);
  void Ellipse(const Entity& e, const Affine& m, const Style& style);
  void EllipseArc(const Affine& m, Point c, Point major, double ratio, double start, double end,
                  bool counter_clockwise, const Style& style, std::string_view type);
  void Spline(const Entity& e, const Affine& m, const Style& style);
  void Curve(const SplineCurve& spline, const std::vector<Point>& fit, const Affine& m,
             const Style& style, std::string_view type);
  void Hatch(const Entity& e, const Affine& m, const Style& style);
  void HatchBoundary(const HatchPath& path, const Affine& m, const Style& style);
  void HatchFill(const HatchData& hatch, const Affine& m, const Style& style);
  void Note(std::string note);
  void DxfPoint(const Entity& e, const Affine& m, const Style& style);
  double PointRadius();
  void TextLine(const Affine& m, std::string text, Point p, double cap_height, double factor,
                double degrees, bool backward, bool upside_down, const Style& style,
                std::string_view type);
  double Length(std::string_view text, double cap_height, double factor) const;
  void Text(const Entity& e, const Affine& m, const Style& style);
  void Mtext(const Entity& e, const Affine& m, const Style& style);

  const Drawing& drawing_;
  const DxfImportOptions& options_;
  const UnitChoice unit_;
  DxfImportReport& report_;
  std::string block_name_;
  std::vector<std::string> lines_;
  std::vector<const BlockDefinition*> stack_;
  std::optional<Error> error_;
  size_t visits_ = 0;
  size_t points_ = 0;
  std::optional<size_t> point_note_;  // the note that counts them
  std::optional<double> point_radius_;
};

}  // namespace blok::dxf
