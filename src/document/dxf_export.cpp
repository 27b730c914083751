#include "document/dxf_export.h"

#include <dxflib/dl_dxf.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <numbers>
#include <set>
#include <variant>

#include "document/block_file.h"
#include "document/dxf_values.h"
#include "document/dxf_writer.h"
#include "document/library_rules.h"
#include "document/text_file.h"
#include "model/angles.h"
#include "model/command_text.h"
#include "model/cp1250.h"
#include "model/entity_visit.h"
#include "model/numbers.h"
#include "model/parsed_entity.h"

namespace blok {
namespace {

using dxf::Lineweight;
using dxf::MemoryWriter;
using dxf::NearestColourIndex;
using dxf::TextEntityBytes;

DL_Attributes Attributes(Colour colour, float thickness) {
  const Colour rgb = colour & 0xFFFFFF;
  // DXF wants 0xRRGGBB; ours keeps red in the lowest byte. Black goes as the indexed colour
  // alone, so that it turns white on a dark screen as black lines do in every CAD program.
  const int true_colour = rgb == 0 ? -1 : (Red(rgb) << 16 | Green(rgb) << 8 | Blue(rgb));
  return DL_Attributes("0", NearestColourIndex(rgb), true_colour, Lineweight(thickness),
                       "CONTINUOUS", 1.0);
}

// Arc angles as the file gave them: read with kDegreesToRadians, turned back with it.
double Degrees(double radians) {
  double d = std::fmod(radians / kDegreesToRadians, 360.0);
  if (d < 0) d += 360;
  return d;
}

bool Finite(std::initializer_list<double> values) {
  return std::ranges::all_of(values, [](double v) { return std::isfinite(v); });
}

struct BlockOut {
  const LoadedBlock* block;
  std::span<const ParsedEntity> records;
  std::string dxf_name;  // in the file's code page
  double scale;          // from the block's unit to the drawing's
  DrawingExtents extents;
};

class Exporter {
 public:
  Exporter(MemoryWriter& writer, DL_Dxf& dxf, const FontCapital& capital, DxfExportReport& report)
      : dw_(writer), dxf_(dxf), capital_(capital), report_(report) {}

  // The entities of a block's drawing, in the order the editor draws them (from the last line
  // to the first), each with the colour and thickness that drawing gives it.
  void Entities(const LoadedBlock& block, std::span<const ParsedEntity> records) {
    ReadingDefaults defaults;
    for (size_t i = records.size(); i-- > 0;) {
      const ParsedEntity& record = records[i];
      const auto skip_unless = [&](bool written) {
        if (!written) Skip(block, i, false);
      };
      const bool visited = VisitEntity(
          record, Overloaded{
                      [&](const LineEntity& e) { skip_unless(Entity(e, defaults)); },
                      [&](const RectangleEntity& e) { skip_unless(Entity(e, defaults)); },
                      [&](const CircleRecord& e) { skip_unless(Entity(e, defaults)); },
                      [&](const ArcRecord& e) { skip_unless(Entity(e, defaults)); },
                      [&](const TextRecord& e) { skip_unless(Entity(e, defaults)); },
                      [&](const ColourRecord& r) { defaults.colour = r.colour; },
                      [&](const ThicknessRecord& r) { defaults.thickness = r.thickness; },
                  });
      if (visited) continue;
      // Told apart as blk check tells them; an empty line is no entity at all.
      const std::string line = TrimLineStart(block.lines[i]);
      if (line.find_first_not_of(" \t") == std::string::npos) continue;
      Skip(block, i, line.starts_with("//"));
    }
  }

 private:
  void Skip(const LoadedBlock& block, size_t index, bool comment) {
    report_.skipped.push_back({block.name, index + 1, block.lines[index], comment});
  }

  bool Entity(const LineEntity& line, const ReadingDefaults& defaults) {
    const SegmentRecord& r = line.segment;
    if (!Finite({r.x1, r.y1, r.x2, r.y2})) return false;
    dxf_.writeLine(dw_, DL_LineData(r.x1, r.y1, 0, r.x2, r.y2, 0), Tail(r, defaults));
    return Written();
  }

  bool Entity(const RectangleEntity& rectangle, const ReadingDefaults& defaults) {
    const SegmentRecord& r = rectangle.segment;
    if (!Finite({r.x1, r.y1, r.x2, r.y2})) return false;
    dxf_.writePolyline(dw_, DL_PolylineData(4, 0, 0, /*closed*/ 1), Tail(r, defaults));
    const double corners[4][2] = {{r.x1, r.y1}, {r.x2, r.y1}, {r.x2, r.y2}, {r.x1, r.y2}};
    for (const auto& c : corners) dxf_.writeVertex(dw_, DL_VertexData(c[0], c[1], 0, 0));
    dxf_.writePolylineEnd(dw_);
    return Written();
  }

  bool Entity(const CircleRecord& r, const ReadingDefaults& defaults) {
    if (!Finite({r.x, r.y, r.radius}) || r.radius == 0) return false;
    dxf_.writeCircle(dw_, DL_CircleData(r.x, r.y, 0, std::fabs(r.radius)), Tail(r, defaults));
    return Written();
  }

  bool Entity(const ArcRecord& r, const ReadingDefaults& defaults) {
    if (!Finite({r.x, r.y, r.radius, r.start_angle, r.end_angle}) || r.radius == 0) return false;
    dxf_.writeArc(
        dw_,
        DL_ArcData(r.x, r.y, 0, std::fabs(r.radius), Degrees(r.start_angle), Degrees(r.end_angle)),
        Tail(r, defaults));
    return Written();
  }

  // The stroke font scales a glyph by the height upwards and by the width along the line, from
  // the insertion point at the foot of its descenders; DXF sets a text on its baseline with the
  // capitals' height and a width factor. A negative height or width mirrors the text, as the
  // generation flags do.
  bool Entity(const TextRecord& r, const ReadingDefaults& defaults) {
    // The sizes are single precision; as decimals they give DXF 0.45, not 0.449999988.
    const double height = FloatAsDecimal(r.height), width = FloatAsDecimal(r.width);
    if (!Finite({r.x, r.y, height, width, r.angle}) || height == 0 || width == 0) return false;
    const double unit = kFontUnit * std::fabs(height);
    const double angle = FloatAsDecimal(r.angle) * std::numbers::pi / 180;
    const double up = capital_.foot * kFontUnit * height;  // to the baseline, signed
    const double x = r.x - up * std::sin(angle);
    const double y = r.y + up * std::cos(angle);
    const int flags = (width < 0 ? 2 : 0) | (height < 0 ? 4 : 0);
    dxf_.writeText(
        dw_,
        DL_TextData(x, y, 0, x, y, 0, capital_.height * unit, std::fabs(width) / std::fabs(height),
                    flags, 0, 0, TextEntityBytes(r.text), "STANDARD", angle),
        Tail(r, defaults));
    return Written();
  }

  template <typename Record>
  DL_Attributes Tail(const Record& r, const ReadingDefaults& defaults) {
    return Attributes(ResolveColour(r.colour, defaults), ResolveThickness(r.thickness, defaults));
  }

  bool Written() {
    ++report_.entities;
    return true;
  }

  MemoryWriter& dw_;
  DL_Dxf& dxf_;
  FontCapital capital_;
  DxfExportReport& report_;
};

// DXF compares names without regard to case: two names that differ only so would be one block.
std::string UniqueName(std::string name, std::set<std::string>& taken) {
  const std::string base = name;
  for (int n = 2; !taken.insert(UpperCp1250(name)).second; ++n) {
    name = base + "_" + std::to_string(n);
  }
  return name;
}

// The blocks asked for, each as the editor loads it: the last record of its name.
Result<std::vector<const LoadedBlock*>> Pick(const DxfExportRequest& request,
                                             const std::vector<LoadedBlock>& blocks) {
  const std::vector<ListedBlock> listed = BlocksAsListed(blocks);
  std::vector<const LoadedBlock*> picked;
  if (request.names.empty()) {
    for (const ListedBlock& l : listed) picked.push_back(l.block);
  } else {
    std::map<std::string_view, const LoadedBlock*> last;
    for (const ListedBlock& l : listed) last[l.block->name] = l.block;
    std::set<std::string_view> seen;
    for (const std::string& name : request.names) {
      const auto found = last.find(name);
      if (found == last.end()) {
        return Fail("w pliku " + request.library.string() + " nie ma bloku " + name);
      }
      if (seen.insert(name).second) picked.push_back(found->second);
    }
  }
  if (picked.empty()) return Fail("w pliku " + request.library.string() + " nie ma bloków");
  return picked;
}

// The unit most of the blocks use is the drawing's; the others are inserted scaled to it.
const Unit& DrawingUnit(const std::vector<const LoadedBlock*>& blocks) {
  std::map<std::string, int> count;
  for (const LoadedBlock* b : blocks) ++count[b->unit];
  std::string best = blocks.front()->unit;
  for (const LoadedBlock* b : blocks) {
    if (count[b->unit] > count[best]) best = b->unit;
  }
  return *FindUnit(best);
}

void WriteTables(MemoryWriter& dw, DL_Dxf& dxf, const std::vector<BlockOut>& out) {
  dw.sectionTables();
  dxf.writeVPort(dw);
  dw.tableLinetypes(3);
  dxf.writeLinetype(dw, DL_LinetypeData("BYBLOCK", "BYBLOCK", 0, 0, 0.0));
  dxf.writeLinetype(dw, DL_LinetypeData("BYLAYER", "BYLAYER", 0, 0, 0.0));
  dxf.writeLinetype(dw, DL_LinetypeData("CONTINUOUS", "Continuous", 0, 0, 0.0));
  dw.tableEnd();
  dw.tableLayers(2);
  dxf.writeLayer(dw, DL_LayerData("0", 0),
                 DL_Attributes("", 7, -1, -3 /*default weight*/, "CONTINUOUS", 1.0));
  dxf.writeLayer(dw, DL_LayerData("NAZWY", 0),
                 DL_Attributes("", 8, -1, -3 /*default weight*/, "CONTINUOUS", 1.0));
  dw.tableEnd();
  dw.tableStyle(1);
  dxf.writeStyle(dw, DL_StyleData("STANDARD", 0, 0.0, 1.0, 0.0, 0, 2.5, "txt", ""));
  dw.tableEnd();
  dxf.writeView(dw);
  dxf.writeUcs(dw);
  dw.tableAppid(1);
  dxf.writeAppid(dw, "ACAD");
  dw.tableEnd();
  dxf.writeDimStyle(dw, 1, 1, 1, 1, 1);
  dxf.writeBlockRecord(dw);
  for (const BlockOut& b : out) dxf.writeBlockRecord(dw, b.dxf_name);
  dw.tableEnd();
  dw.sectionEnd();
}

// The model space: the blocks on a grid of equal square cells, row by row from the top left,
// each centred in its cell at its true size, its name under it.
void WriteOverview(MemoryWriter& dw, DL_Dxf& dxf, const std::vector<BlockOut>& out) {
  double cell = 0;
  for (const BlockOut& b : out) {
    if (b.extents.empty()) continue;
    cell = std::max({cell, (b.extents.xmax - b.extents.xmin) * b.scale,
                     (b.extents.ymax - b.extents.ymin) * b.scale});
  }
  cell = cell > 0 && std::isfinite(cell) ? cell * 1.5 : 1.0;
  const auto columns = static_cast<size_t>(std::ceil(std::sqrt(static_cast<double>(out.size()))));
  const DL_Attributes name_attributes("NAZWY", 256, -1, -1, "BYLAYER", 1.0);
  for (size_t i = 0; i < out.size(); ++i) {
    const BlockOut& b = out[i];
    const double left = static_cast<double>(i % columns) * cell;
    const double bottom = -static_cast<double>(i / columns) * cell * 1.2;
    double cx = 0, cy = 0;
    if (!b.extents.empty()) {
      cx = (static_cast<double>(b.extents.xmin) + b.extents.xmax) / 2 * b.scale;
      cy = (static_cast<double>(b.extents.ymin) + b.extents.ymax) / 2 * b.scale;
    }
    // A drawing beyond the single-precision range has no centre to put in a cell.
    if (!std::isfinite(cx) || !std::isfinite(cy)) cx = cy = 0;
    dxf.writeInsert(dw,
                    DL_InsertData(b.dxf_name, left + cell / 2 - cx, bottom + cell / 2 - cy, 0,
                                  b.scale, b.scale, b.scale, 0, 1, 1, 0, 0),
                    DL_Attributes("0", 256, -1, -1, "BYLAYER", 1.0));
    dxf.writeText(
        dw,
        DL_TextData(left, bottom - cell * 0.08, 0, left, bottom - cell * 0.08, 0, cell * 0.06, 1, 0,
                    0, 0, TextEntityBytes(b.block->name), "STANDARD", 0),
        name_attributes);
  }
}

}  // namespace

std::string DxfName(std::string_view block_name) {
  std::string name(block_name);
  for (char& c : name) {
    if (static_cast<unsigned char>(c) < 0x20 ||
        std::string_view("<>/\\\":;?*|=`'").find(c) != std::string_view::npos) {
      c = '_';
    }
  }
  // Spaces at either end do not survive every reader, and an empty name is none.
  const size_t first = name.find_first_not_of(' ');
  if (first == std::string::npos) return "BLOK";
  name = name.substr(first, name.find_last_not_of(' ') - first + 1);
  // Symbol names hold at most 255 characters; room is left for a number that makes it unique.
  return CutToCharacters(name, 240);
}

namespace {

// A block whose unit is not one of ours has no scale in the drawing.
Result<void> CheckUnits(const std::vector<const LoadedBlock*>& blocks) {
  for (const LoadedBlock* b : blocks) {
    if (!IsUnit(b->unit)) {
      return Fail("nie można odczytać bloku " + b->name + ": nieznana jednostka „" + b->unit +
                  "” (dozwolone są " + AllowedUnits() + ")");
    }
  }
  return {};
}

Result<void> RefuseLibraryAsOutput(const std::filesystem::path& library,
                                   const std::filesystem::path& output) {
  std::error_code ec;
  if (std::filesystem::equivalent(library, output, ec)) {
    return Fail("plik " + output.string() +
                " jest biblioteką bloków: DXF trzeba zapisać do innego pliku");
  }
  return {};
}

// The blocks, each with its records, into the output: the part both entry points share.
Result<DxfExportReport> Export(const std::vector<const LoadedBlock*>& picked,
                               const std::vector<std::span<const ParsedEntity>>& records,
                               const std::filesystem::path& output, const ExportProgress& progress,
                               const DxfExportFont& font) {
  if (auto units = CheckUnits(picked); !units) return std::unexpected(units.error());
  const Unit& unit = DrawingUnit(picked);

  DxfExportReport report;
  std::vector<BlockOut> out;
  std::set<std::string> taken = {"*MODEL_SPACE", "*PAPER_SPACE", "*PAPER_SPACE0"};
  for (size_t i = 0; i < picked.size(); ++i) {
    const LoadedBlock* b = picked[i];
    const std::string dxf_name = UniqueName(DxfName(b->name), taken);
    report.names.push_back({b->name, dxf_name});
    BlockOut block{b, records[i], Utf8ToCp1250(dxf_name),
                   FindUnit(b->unit)->millimetres / unit.millimetres, font.extents(records[i])};
    out.push_back(std::move(block));
  }

  DL_Dxf dxf;
  MemoryWriter dw(DL_VERSION_2000);
  dxf.writeHeader(dw);
  dw.dxfString(9, "$DWGCODEPAGE");
  dw.dxfString(3, "ANSI_1250");
  dw.dxfString(9, "$INSUNITS");
  dw.dxfInt(70, dxf::InsunitsCode(unit));
  dw.dxfString(9, "$LWDISPLAY");
  dw.dxfInt(290, 1);
  dw.sectionEnd();
  WriteTables(dw, dxf, out);

  dw.sectionBlocks();
  for (const char* space : {"*Model_Space", "*Paper_Space", "*Paper_Space0"}) {
    dxf.writeBlock(dw, DL_BlockData(space, 0, 0.0, 0.0, 0.0));
    dxf.writeEndBlock(dw, space);
  }
  Exporter exporter(dw, dxf, font.capital, report);
  const int total = static_cast<int>(out.size());
  for (int done = 0; done < total; ++done) {
    const BlockOut& b = out[done];
    dxf.writeBlock(dw, DL_BlockData(b.dxf_name, 0, 0.0, 0.0, 0.0));
    exporter.Entities(*b.block, b.records);
    dxf.writeEndBlock(dw, b.dxf_name);
    // Nothing has touched the output yet: stopping here leaves it as it was.
    if (progress && !progress(done + 1, total)) return Fail(std::string(kExportCancelled));
  }
  dw.sectionEnd();

  dw.sectionEntities();
  WriteOverview(dw, dxf, out);
  dw.sectionEnd();
  dxf.writeObjects(dw);
  dxf.writeObjectsEnd(dw);
  dw.dxfEOF();

  auto replacement = FileReplacement::Begin(output, {.limit = kMaxTextBytes * 4});
  if (!replacement) return std::unexpected(replacement.error());
  if (auto written = replacement->Write(dw.bytes()); !written) {
    return std::unexpected(written.error());
  }
  if (auto committed = replacement->Commit(); !committed) {
    return std::unexpected(committed.error());
  }
  return report;
}

}  // namespace

Result<DxfExportReport> ExportDxf(const DxfExportRequest& request, const DxfExportFont& font) {
  if (auto refused = RefuseLibraryAsOutput(request.library, request.output); !refused) {
    return std::unexpected(refused.error());
  }
  const auto blocks = WczytajWszystkieBloki(request.library);
  if (!blocks) return std::unexpected(blocks.error());
  const auto picked = Pick(request, *blocks);
  if (!picked) return std::unexpected(picked.error());
  std::vector<std::vector<ParsedEntity>> parsed;
  for (const LoadedBlock* b : *picked) parsed.push_back(ParseLines(b->lines));
  return Export(*picked, {parsed.begin(), parsed.end()}, request.output, request.progress, font);
}

Result<DxfExportReport> ExportDxf(const DxfDrawingRequest& request, const DxfExportFont& font) {
  const LoadedBlock block{request.name, request.unit, {request.lines.begin(), request.lines.end()}};
  return Export({&block}, {request.records}, request.output, request.progress, font);
}

}  // namespace blok
