#pragma once

#include <array>
#include <string_view>

namespace blok {

// A line thickness of the editor's lists, in millimetres, with the text each list shows for it.
// The texts are the program's own as it has always shown them, a decimal point among the
// commas included; the line, rectangle and text forms show 0.80 with a point as well.
struct ThicknessChoice {
  double millimetres;
  std::string_view text;         // the tool bar and the properties form
  std::string_view entity_form;  // the line, rectangle and text forms
};

// Thinnest first; the first is the thickness of a line that sets none.
inline constexpr std::array<ThicknessChoice, 13> kThicknessChoices = {{
    {0.10, "0,10", "0,10"},
    {0.12, "0,12", "0,12"},
    {0.15, "0,15", "0,15"},
    {0.18, "0,18", "0,18"},
    {0.20, "0,20", "0,20"},
    {0.25, "0,25", "0,25"},
    {0.30, "0,30", "0,30"},
    {0.35, "0,35", "0,35"},
    {0.50, "0,50", "0,50"},
    {0.60, "0.60", "0.60"},
    {0.70, "0,70", "0,70"},
    {0.80, "0,80", "0.80"},
    {1.00, "1.00", "1.00"},
}};

// How wide a line of a thickness is drawn, in the units of the drawing: a tenth of its number,
// whatever the unit.
inline constexpr double StrokeWidth(double thickness) { return thickness * 0.1; }

// The text heights and widths the lists offer, in the units of the drawing.
inline constexpr std::array<std::string_view, 11> kTextSizeChoices = {
    "0,20", "0,25", "0,30", "0,35", "0,50", "0,60", "0,70", "0,80", "1,00", "1,50", "2,00"};

}  // namespace blok
