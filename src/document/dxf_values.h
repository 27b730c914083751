#pragma once

// DXF values as the editor's: texts in the code page, colours, line weights as thicknesses and
// the drawing's unit.

#include <array>
#include <string>
#include <string_view>

#include "document/dxf_import.h"
#include "document/dxf_reader.h"
#include "model/entity.h"

namespace blok::dxf {

// The thicknesses of the editor's list, thinnest first.
inline constexpr std::array<double, 13> kThicknesses = {0.10, 0.12, 0.15, 0.18, 0.20, 0.25, 0.30,
                                                        0.35, 0.50, 0.60, 0.70, 0.80, 1.00};

// What the code page can hold of a text: other characters become "?", control characters
// spaces, so that the line reads back as written.
std::string FitToCodePage(std::string_view text);

// TEXT's control sequences: %%d degree, %%p plus-minus, %%c diameter (written "fi", as
// drawings in this code page write it), %%% a percent sign, %%nnn a character by number;
// %%u and %%o only switch underlining and overlining.
std::string PlainText(std::string_view text);

// A true colour (group 420: 0xRRGGBB).
Colour TrueColour(long long rgb);

// A colour of the standard palette; index 7 is white on a dark screen and black on paper:
// black here.
Colour IndexedColour(long long index);

struct UnitChoice {
  std::string unit;
  double scale;  // from the file's numbers to the unit's
};

// The unit of the blocks: the one the options give, else of m, cm and mm the nearest to the
// drawing's $INSUNITS, else m. The report notes an assumed or a changed unit.
UnitChoice ChooseUnit(const Drawing& d, const DxfImportOptions& options, DxfImportReport& report);

}  // namespace blok::dxf
