#pragma once

// DXF values and the editor's, both ways, each mapping on one table: texts in the code page,
// colours by the standard palette, line weights and thicknesses, $INSUNITS and the units. The
// import reads with them and the export writes with them.

#include <optional>
#include <string>
#include <string_view>

#include "document/dxf_import.h"
#include "document/dxf_reader.h"
#include "model/entity.h"
#include "model/unit.h"

namespace blok::dxf {

// What the code page can hold of a text, on one line: other characters become "?", control
// characters (which DXF cannot carry either) spaces, so that the line reads back as written.
std::string FitText(std::string_view text);

// A text as a TEXT entity in the file's code page: fitted as above, and a percent sign, which
// would start a control sequence when doubled ("%%d" is a degree sign), as the sequence for
// itself wherever the text holds two of them.
std::string TextEntityBytes(std::string_view text);

// TEXT's control sequences: %%d degree, %%p plus-minus, %%c diameter (written "fi", as
// drawings in this code page write it), %%% a percent sign, %%nnn a character by number;
// %%u and %%o only switch underlining and overlining.
std::string PlainText(std::string_view text);

// A true colour (group 420: 0xRRGGBB).
Colour TrueColour(long long rgb);

// A colour of the standard palette; index 7 is white on a dark screen and black on paper:
// black here.
Colour IndexedColour(long long index);

// The index of the standard palette nearest to a colour; black gets 7, as above.
int NearestColourIndex(Colour colour);

// The DXF line weight (hundredths of a millimetre) nearest to a thickness in millimetres; 0
// for none.
int Lineweight(float thickness);

// The $INSUNITS code of a unit.
int InsunitsCode(const Unit& unit);

struct UnitChoice {
  std::string unit;
  double scale;  // from the file's numbers to the unit's
};

// The unit of the blocks: the one the options give, else of m, cm and mm the nearest to the
// drawing's $INSUNITS, else m. The report notes an assumed or a changed unit.
UnitChoice ChooseUnit(const Drawing& d, const DxfImportOptions& options, DxfImportReport& report);

}  // namespace blok::dxf
