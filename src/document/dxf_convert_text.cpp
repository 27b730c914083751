// DXF TEXT and MTEXT as the editor's texts: one entity line per line of text, in the stroke
// font's size and at the foot of its descenders.
#include <algorithm>
#include <cmath>

#include "document/dxf_convert.h"
#include "model/cp1250.h"
#include "model/numbers.h"
#include "model/transliteration.h"

namespace blok::dxf {
namespace {

// How deep the stroke font's descenders reach below the baseline of a text of this capital
// height: DXF boxes that reach to the descenders end there.
double DescenderDepth(const FontCapital& capital, double cap_height) {
  return cap_height * capital.foot / capital.height;
}

}  // namespace

// A DXF text (baseline start p, capital height, width factor, angle in degrees, mirror
// flags) as the editor's text: the stroke font's size and its insertion point at the foot of
// the descenders.
void Converter::TextLine(const Affine& m, std::string text, Point p, double cap_height,
                         double factor, double degrees, bool backward, bool upside_down,
                         const Style& style, std::string_view type) {
  bool changed = false;
  const std::string given = text;
  text = FitText(ToCodePageLetters(text, &changed));
  // Kept as the editor keeps a typed one; a straight one could not be written.
  TypographicApostrophes(text);
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
      const size_t room = kLongestEntityLine - std::min(kLongestEntityLine, CharacterCount(*line));
      text = CutToCharacters(text, room);
      fields.text = text;
    }
  }
  if (changed) {
    report_.changed_texts.push_back("blok " + block_name_ + ": „" + given + "” → „" + text + "”");
  }
  Emit(fields, style, type);
}

double Converter::Length(std::string_view text, double cap_height, double factor) const {
  if (!options_.text_length) return 0;
  const double height = cap_height / (options_.capital.height * kFontUnit);
  // The letters that go in are measured, not those the code page lacks.
  return options_.text_length(ToCodePageLetters(text), factor * height);
}

void Converter::Text(const Entity& e, const Affine& m, const Style& style) {
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
    // Top and middle by the capitals, bottom at the foot of the descenders; Middle (4) is the
    // middle of all of it, descenders included.
    const double depth = DescenderDepth(options_.capital, height);
    const double drop = vertical == 3     ? height
                        : vertical == 2   ? height / 2
                        : vertical == 1   ? -depth
                        : horizontal == 4 ? (height - depth) / 2
                                          : 0;
    p = {a.x - shift * std::cos(angle) + drop * std::sin(angle),
         a.y - shift * std::sin(angle) - drop * std::cos(angle)};
  }
  TextLine(m, text, p, height, factor, e.Real(50), (flags & 2) != 0, (flags & 4) != 0, style,
           "TEXT");
}

void Converter::Mtext(const Entity& e, const Affine& m, const Style& style) {
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
  // The box reaches from the capitals of the first line down to the stroke font's descenders
  // under the last: attached at the bottom, the text stands on the point with its descenders;
  // in the middle, as much of the box is above the point as below.
  const double box = height + spacing * static_cast<double>(lines.size() - 1) +
                     DescenderDepth(options_.capital, height);
  const double top = attachment <= 3 ? 0 : attachment <= 6 ? box / 2 : box;
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

}  // namespace blok::dxf
