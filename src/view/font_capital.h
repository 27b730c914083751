#pragma once

#include "document/dxf_export.h"
#include "document/dxf_import.h"
#include "view/stroke_font.h"

namespace blok {

// Where the font puts the letter H (its foot and height in font units): DXF sizes texts by it.
// A font without an H gives the defaults.
FontCapital CapitalOf(const StrokeFont& font);

// What the DXF export needs of the font: its capitals and ComputeExtents with it. The font must
// outlive the export.
DxfExportFont ExportFontOf(const StrokeFont& font);

}  // namespace blok
