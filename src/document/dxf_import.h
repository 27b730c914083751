#pragma once

#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/error.h"

namespace blok {

// Where the stroke font puts the letter H, in font units: its foot above a text's insertion
// point and its height. DXF sets texts by their capitals on the baseline, the editor by the
// whole glyph box, so both directions of the exchange map one to the other with these.
struct FontCapital {
  double foot = 0;
  double height = 100;
};

// One font unit of a text of height 1, in drawing units.
inline constexpr double kFontUnit = 0.012;

// A block read from a DXF drawing: its name (UTF-8, fit for the library), its unit ("m", "cm"
// or "mm") and its entity lines, each written by WriteEntityLine.
struct DxfBlock {
  std::string name;
  std::string unit;
  std::vector<std::string> lines;
  bool model_space = false;  // the drawing's model space, not one of its block definitions
};

struct DxfImportReport {
  std::vector<DxfBlock> blocks;
  std::map<std::string, int> skipped;     // DXF entity type → how many had no entity line
  std::vector<std::string> skipped_each;  // "blok NAME: TYPE (why)", one per entity skipped
  std::vector<std::string> notes;         // what the user should know, e.g. an assumed unit
  // "blok NAME: „Дата” → „Data”", one per text whose letters the code page lacks
  std::vector<std::string> changed_texts;
};

struct DxfImportOptions {
  // Every named block definition instead of the model space.
  bool all_blocks = false;
  // With all_blocks: the model space as well, first, so that a drawing needs objects in one of
  // them only (what a user is offered to choose from).
  bool with_model = false;
  // These block definitions only (implies all_blocks); DXF compares names without case.
  std::vector<std::string> only;
  // The unit the drawing's numbers are in, over what the file says.
  std::optional<std::string> unit;
  // The name the model space gets.
  std::string model_name;
  FontCapital capital;
  // The length along the baseline of a text of this width (as an entity line gives it), for
  // centred and right-aligned texts; without it they are set from the left.
  std::function<double(std::string_view text, double width)> text_length;
};

// Reads a DXF drawing (text DXF, any version) into blocks, none written anywhere yet: the model
// space as one block (model_name), or its named block definitions. Base points go to (0,0),
// inserts are expanded, curves the entity lines cannot hold are flattened. A file that is not
// text DXF, or is cut short, or a block that inserts itself or nests inserts too deep, is an
// error.
Result<DxfImportReport> ImportDxf(const std::filesystem::path& file,
                                  const DxfImportOptions& options);

// The same from the file's bytes; file names the input in messages.
Result<DxfImportReport> ImportDxfBytes(std::string_view bytes, const std::filesystem::path& file,
                                       const DxfImportOptions& options);

// The thickness of the editor's list nearest to a DXF line weight (hundredths of a millimetre).
double ThicknessOfLineweight(int lineweight);

// Text of a DXF MTEXT without its formatting codes, one string per line.
std::vector<std::string> PlainMtextLines(std::string_view text);

}  // namespace blok
