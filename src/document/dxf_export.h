#pragma once

#include <cstddef>
#include <filesystem>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "document/dxf_import.h"
#include "document/export_progress.h"
#include "model/drawing_extents.h"
#include "model/error.h"
#include "model/parsed_entity.h"

namespace blok {

struct DxfExportRequest {
  std::filesystem::path library;
  std::vector<std::string> names;  // the blocks to export, in this order; none: every block
  std::filesystem::path output;
  ExportProgress progress = {};  // may be empty
};

// One drawing as the editor holds it (maybe never saved): its lines with their records.
struct DxfDrawingRequest {
  std::string name;  // may be empty: the block definition is then "BLOK"
  std::string unit;
  std::span<const std::string> lines;
  std::span<const ParsedEntity> records;  // records[i] is lines[i] parsed
  std::filesystem::path output;
  ExportProgress progress = {};
};

// What the export needs of the stroke font (the font is the view's; CapitalOf and ExportFontOf
// in view/font_capital.h give these): where it sets the capitals, and the box of a drawing.
struct DxfExportFont {
  FontCapital capital;
  std::function<DrawingExtents(std::span<const ParsedEntity> records)> extents;
};

// A line of a block that has no DXF entity.
struct SkippedLine {
  std::string block;
  size_t line = 0;  // from 1, as the block's drawing counts them
  std::string text;
  bool comment = false;
};

struct DxfExportReport {
  struct Name {
    std::string block;  // as the library spells it
    std::string dxf;    // the DXF block definition's name
  };
  std::vector<Name> names;
  std::vector<SkippedLine> skipped;
  size_t entities = 0;
};

// Writes the blocks into one DXF drawing (AutoCAD 2000 format, code page 1250): each a block
// definition with its entities in the colours and line weights they are drawn with, and the
// model space an overview of all of them, each inserted on a grid with its name under it. The
// output is replaced as a library is, whole or not at all. The font gives text heights and the
// blocks' sizes on the grid.
Result<DxfExportReport> ExportDxf(const DxfExportRequest& request, const DxfExportFont& font);
// The same for one drawing, as one block.
Result<DxfExportReport> ExportDxf(const DxfDrawingRequest& request, const DxfExportFont& font);

// The name a block definition gets: the characters DXF forbids in names replaced by "_".
std::string DxfName(std::string_view block_name);

}  // namespace blok
