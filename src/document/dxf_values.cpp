#include "document/dxf_values.h"

#include <dxflib/dl_codes.h>

#include <cctype>
#include <cmath>
#include <optional>

#include "model/cp1250.h"
#include "model/thickness.h"

namespace blok {
namespace dxf {

std::string FitText(std::string_view text) {
  std::string fitted = FitToCodePage(text).text;
  // Below the space a character is one byte in UTF-8 as in the code page.
  for (char& c : fitted) {
    if (static_cast<unsigned char>(c) < 0x20) c = ' ';
  }
  return fitted;
}

std::string TextEntityBytes(std::string_view text) {
  const std::string bytes = Utf8ToCp1250(FitText(text));
  if (bytes.find("%%") == std::string::npos) return bytes;
  std::string escaped;
  for (const char c : bytes) escaped += c == '%' ? std::string("%%%") : std::string(1, c);
  return escaped;
}

std::string PlainText(std::string_view text) {
  if (text.find("%%") == std::string_view::npos) return std::string(text);
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text.compare(i, 2, "%%") != 0 || i + 2 >= text.size()) {
      out += text[i];
      continue;
    }
    const char c = static_cast<char>(std::tolower(static_cast<unsigned char>(text[i + 2])));
    if (c == 'd') {
      out += "°";
    } else if (c == 'p') {
      out += "±";
    } else if (c == 'c') {
      out += "fi";
    } else if (c == '%') {
      out += '%';
    } else if (c == 'u' || c == 'o' || c == 'k') {
    } else if (std::isdigit(static_cast<unsigned char>(c))) {
      size_t n = i + 2, value = 0;
      while (n < text.size() && n < i + 5 && std::isdigit(static_cast<unsigned char>(text[n]))) {
        value = value * 10 + static_cast<size_t>(text[n] - '0');
        ++n;
      }
      AppendUtf8(out, Cp1250ToCodePoint(static_cast<unsigned char>(value & 0xFF)));
      i = n - 1;
      continue;
    } else {
      out += "%%";
      i += 1;
      continue;
    }
    i += 2;
  }
  return out;
}

Colour TrueColour(long long rgb) {
  return RgbColour(static_cast<int>(rgb >> 16 & 255), static_cast<int>(rgb >> 8 & 255),
                   static_cast<int>(rgb & 255));
}

Colour IndexedColour(long long index) {
  if (index < 0) index = -index;
  if (index < 1 || index > 255 || index == 7) return 0;
  const auto& rgb = dxfColors[index];
  return RgbColour(static_cast<int>(std::lround(rgb[0] * 255)),
                   static_cast<int>(std::lround(rgb[1] * 255)),
                   static_cast<int>(std::lround(rgb[2] * 255)));
}

int NearestColourIndex(Colour colour) {
  if ((colour & 0xFFFFFF) == 0) return 7;
  double best = 1e9;
  int index = 7;
  for (int i = 1; i < 256; ++i) {
    const double dr = dxfColors[i][0] * 255 - Red(colour);
    const double dg = dxfColors[i][1] * 255 - Green(colour);
    const double db = dxfColors[i][2] * 255 - Blue(colour);
    const double d = dr * dr + dg * dg + db * db;
    if (d < best) {
      best = d;
      index = i;
    }
  }
  return index;
}

// The thickness lists offer pen widths in millimetres (0.18, 0.25, ...); DXF has a fixed set of
// line weights in hundredths of a millimetre, and the nearest of them is taken.
int Lineweight(float thickness) {
  static constexpr int kWeights[] = {0,  5,  9,  13, 15, 18,  20,  25,  30,  35,  40,  50,
                                     53, 60, 70, 80, 90, 100, 106, 120, 140, 158, 200, 211};
  if (!(thickness > 0)) return 0;
  const double wanted = static_cast<double>(thickness) * 100;
  int best = 0;
  for (const int w : kWeights) {
    if (std::fabs(w - wanted) < std::fabs(best - wanted)) best = w;
  }
  return best;
}

namespace {

// $INSUNITS in millimetres, as the codes number them.
constexpr std::array<double, 21> kInsunitsSizes = {
    0,           25.4, 304.8, 1609344, 1,   10,  1000, 1e6,  25.4e-6,        0.0254,
    914.4,       1e-7, 1e-6,  1e-3,    100, 1e4, 1e5,  1e12, 1.495978707e14, 9.4607304725808e18,
    3.0856776e19};

std::optional<double> Millimetres(long long code) {
  if (code < 1 || code > 20) return std::nullopt;
  return kInsunitsSizes[static_cast<size_t>(code)];
}

}  // namespace

int InsunitsCode(const Unit& unit) {
  for (size_t code = 1; code < kInsunitsSizes.size(); ++code) {
    if (kInsunitsSizes[code] == unit.millimetres) return static_cast<int>(code);
  }
  return 0;  // unitless: none of the units gets here
}

UnitChoice ChooseUnit(const Drawing& d, const DxfImportOptions& options, DxfImportReport& report) {
  if (options.unit) return {*options.unit, 1};
  const auto size = d.units ? Millimetres(*d.units) : std::nullopt;
  if (!size) {
    report.notes.push_back("rysunek DXF nie podaje jednostki: przyjęto m (--unit ją ustala)");
    return {"m", 1};
  }
  // The nearest unit on a logarithmic scale: inches become centimetres, feet metres.
  const Unit* best = &kUnits[0];
  for (const Unit& u : kUnits) {
    if (std::fabs(std::log(*size / u.millimetres)) <
        std::fabs(std::log(*size / best->millimetres))) {
      best = &u;
    }
  }
  if (best->millimetres != *size) {
    report.notes.push_back("jednostka rysunku DXF zamieniona na " + std::string(best->name));
  }
  return {std::string(best->name), *size / best->millimetres};
}

}  // namespace dxf

double ThicknessOfLineweight(int lineweight) {
  if (lineweight < 0) return kThicknessChoices[0].millimetres;
  const double mm = lineweight / 100.0;
  double best = kThicknessChoices[0].millimetres;
  for (const ThicknessChoice& t : kThicknessChoices) {
    if (std::fabs(t.millimetres - mm) < std::fabs(best - mm)) best = t.millimetres;
  }
  return best;
}

std::vector<std::string> PlainMtextLines(std::string_view text) {
  constexpr size_t npos = std::string_view::npos;
  std::vector<std::string> lines(1);
  const auto skip_to = [&](size_t& i, char end) {
    const size_t found = text.find(end, i);
    i = found == std::string_view::npos ? text.size() : found;
  };
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '{' || c == '}') continue;
    if (c == '\n') {
      lines.emplace_back();
      continue;
    }
    // Caret notation of control characters: line ends and tabs; a caret else is itself.
    if (c == '^' && i + 1 < text.size() && std::string_view("IJM").find(text[i + 1]) != npos) {
      ++i;
      if (text[i] == 'I') {
        lines.back() += ' ';
      } else {
        lines.emplace_back();
      }
      continue;
    }
    if (c != '\\' || i + 1 >= text.size()) {
      lines.back() += c;
      continue;
    }
    const char code = text[++i];
    switch (code) {
      case 'P':
        lines.emplace_back();
        break;
      case '~':
        lines.back() += ' ';
        break;
      case '\\':
      case '{':
      case '}':
        lines.back() += code;
        break;
      case 'L':
      case 'l':
      case 'O':
      case 'o':
      case 'K':
      case 'k':
      case 'N':
        break;
      case 'S': {  // stacked: "1^2;" or "1/2;" reads as "1/2"
        const size_t start = i + 1;
        skip_to(i, ';');
        std::string stacked(text.substr(start, i - start));
        for (char& s : stacked) {
          if (s == '^' || s == '#') s = '/';
        }
        lines.back() += stacked;
        break;
      }
      default:
        // \A \C \c \F \f \H \Q \T \W \p take a value up to ";".
        if (std::string_view("ACcFfHQTWp").find(code) != std::string_view::npos) {
          skip_to(i, ';');
        }
        break;
    }
  }
  while (lines.size() > 1 && lines.back().empty()) lines.pop_back();
  return lines;
}

}  // namespace blok
