#include "model/entity_reader.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <optional>

#include "model/angles.h"
#include "model/command_text.h"
#include "model/cp1250.h"
#include "model/numbers.h"

namespace blok {
namespace {

inline constexpr size_t kMaxTextCharacters = 255;

bool IsContinuation(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

// Byte length of the first n characters of s (or all of s when it has fewer).
size_t CharactersLength(std::string_view s, size_t n) {
  size_t i = 0;
  for (size_t k = 0; k < n && i < s.size(); ++k) {
    ++i;
    while (i < s.size() && IsContinuation(s[i])) ++i;
  }
  return i;
}

// The float nearest to value, or nothing when value lies beyond the float range. Values up to
// half a step above the largest float round to it, as the conversion itself would.
std::optional<float> ToSingle(std::optional<double> value) {
  constexpr double kLargest = std::numeric_limits<float>::max();
  constexpr double kRoundsToInfinity = 0x1.ffffffp+127;  // kLargest plus half its last step
  if (!value || !(std::fabs(*value) < kRoundsToInfinity)) return std::nullopt;
  // Beyond kLargest the conversion is not defined by the language; round by hand.
  if (std::fabs(*value) > kLargest) return static_cast<float>(std::copysign(kLargest, *value));
  return static_cast<float>(*value);
}

char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; }

// A reader's own copy of the line, consumed from the front. Numbers are converted before
// their delimiter is dropped, so a field that fails to convert stays in front.
class Scanner {
 public:
  Scanner(std::string_view s, char separator) : rest_(s), separator_(separator) {}

  void Drop(size_t characters) { rest_.remove_prefix(CharactersLength(rest_, characters)); }
  bool StartsWith(char c) const { return !rest_.empty() && rest_.front() == c; }
  // The first characters end before the text does: one count, not two from the front.
  bool LongerThan(size_t characters) const {
    return CharactersLength(rest_, characters) < rest_.size();
  }
  std::string_view rest() const { return rest_; }

  // The text before the first delimiter, dropped through it; nothing when it does not occur.
  std::optional<std::string_view> TextBefore(std::string_view delimiter) {
    const size_t at = rest_.find(delimiter);
    if (at == std::string_view::npos) return std::nullopt;
    const std::string_view text = rest_.substr(0, at);
    rest_.remove_prefix(at + delimiter.size());
    return text;
  }

  std::optional<double> NumberBefore(char delimiter) {
    const size_t at = rest_.find(delimiter);
    if (at == std::string_view::npos) return std::nullopt;
    const auto value = ParseNumber(rest_.substr(0, at), separator_);
    if (value) rest_.remove_prefix(at + 1);
    return value;
  }

  // A number for a single-precision field. One the float cannot hold does not convert: it
  // would be read as infinite and poison every size and extent computed from it.
  std::optional<float> SingleBefore(char delimiter) {
    const size_t at = rest_.find(delimiter);
    if (at == std::string_view::npos) return std::nullopt;
    const auto value = ToSingle(ParseNumber(rest_.substr(0, at), separator_));
    if (value) rest_.remove_prefix(at + 1);
    return value;
  }

  std::optional<int> IntegerBefore(char delimiter) {
    const size_t at = rest_.find(delimiter);
    if (at == std::string_view::npos) return std::nullopt;
    const auto value = ParseInteger(rest_.substr(0, at), separator_);
    if (value) rest_.remove_prefix(at + 1);
    return value;
  }

  // "r,g,b)" as in a colour field or a numeric colour command.
  std::optional<Colour> ColourComponents() {
    const auto r = IntegerBefore(',');
    if (!r) return std::nullopt;
    const auto g = IntegerBefore(',');
    if (!g) return std::nullopt;
    const auto b = IntegerBefore(')');
    if (!b) return std::nullopt;
    return RgbColour(*r, *g, *b);
  }

 private:
  std::string_view rest_;
  char separator_;
};

// The line without its blanks: the line itself when it has none, as the program writes them.
class WithoutBlanks {
 public:
  explicit WithoutBlanks(std::string_view line) : view_(line) {
    if (line.find(' ') != std::string_view::npos) {
      copy_ = StripAllBlanks(line);
      view_ = copy_;
    }
  }
  WithoutBlanks(const WithoutBlanks&) = delete;
  WithoutBlanks& operator=(const WithoutBlanks&) = delete;
  std::string_view view() const { return view_; }

 private:
  std::string copy_;
  std::string_view view_;
};

struct Tail {
  Colour colour;
  float thickness;
};

// The optional ";K(r,g,b);GR(t)" after an entity's body. Each step skips one character first,
// which is why a thickness field counts only behind a colour field.
Tail ReadTail(Scanner& s, const ReadingDefaults& defaults) {
  Tail tail{defaults.colour, defaults.thickness};
  if (s.LongerThan(2)) {
    s.Drop(1);
    if (s.StartsWith('K')) {
      s.Drop(2);
      if (const auto colour = s.ColourComponents()) tail.colour = *colour;
    }
  }
  if (s.LongerThan(2)) {
    s.Drop(1);
    const std::string_view rest = s.rest();
    if (rest.size() >= 2 && Upper(rest[0]) == 'G' && Upper(rest[1]) == 'R') {
      s.Drop(3);
      // Beyond the float range counts as not converting: the default stands.
      if (const auto thickness = s.SingleBefore(')')) tail.thickness = *thickness;
    }
  }
  return tail;
}

// Reads count numbers, the last one ending at ")", the others at ","; stops at the first failure.
template <size_t N>
bool ReadNumbers(Scanner& s, double (&out)[N]) {
  for (size_t i = 0; i < N; ++i) {
    const auto value = s.NumberBefore(i + 1 == N ? ')' : ',');
    if (!value) return false;
    out[i] = *value;
  }
  return true;
}

// A body must open with "("; a line that does not is not an entity of its kind.
bool OpenBody(Scanner& s) {
  if (!s.StartsWith('(')) return false;
  s.Drop(1);
  return true;
}

struct ColourName {
  std::string_view name;
  Colour colour;
};

constexpr ColourName kColourNames[] = {
    {"ŻÓŁTY", 0x00FFFF},    {"ŻOŁTY", 0x00FFFF},  {"ZOŁTY", 0x00FFFF},     {"ZÓŁTY", 0x00FFFF},
    {"CZERWONY", 0x0000FF}, {"RED", 0x0000FF},    {"NIEBIESKI", 0x800000}, {"NAVY", 0x800000},
    {"ZIELONY", 0x008000},  {"GREEN", 0x008000},  {"BIAŁY", 0xFFFFFF},     {"BIALY", 0xFFFFFF},
    {"WHITE", 0xFFFFFF},    {"CZARNY", 0x000000}, {"BLACK", 0x000000},
};

}  // namespace

EntityKind ClassifyLine(std::string_view line) {
  // Works on the line as TrimLineStart would leave it, without building that copy: the first
  // non-blank character, then what follows the blanks after it.
  const size_t first_at = line.find_first_not_of(' ');
  if (first_at == std::string_view::npos) return EntityKind::kNone;
  const size_t next_at = line.find_first_not_of(' ', first_at + 1);
  const char first = Upper(line[first_at]);
  const char second = next_at == std::string_view::npos ? '\0' : Upper(line[next_at]);
  const char third = next_at == std::string_view::npos || next_at + 1 >= line.size()
                         ? '\0'
                         : Upper(line[next_at + 1]);
  const bool bracket_second = second == '(';
  if (first == 'L' && bracket_second) return EntityKind::kLine;
  if (first == 'K' && bracket_second) return EntityKind::kColour;
  if (first == 'O' && bracket_second) return EntityKind::kCircle;
  if (first == 'G' && second == 'R') return EntityKind::kThickness;
  if (first == 'P' && bracket_second) return EntityKind::kRectangle;
  if (first == 'T' && bracket_second) return EntityKind::kText;
  if (first == 'L' && second == 'U' && third == 'K') return EntityKind::kArc;
  return EntityKind::kNone;
}

SegmentRecord ReadSegment(std::string_view line, const ReadingDefaults& defaults) {
  const WithoutBlanks stripped(line);
  Scanner s(stripped.view(), defaults.decimal_separator);
  SegmentRecord record;
  record.kind = stripped.view().empty() ? 'L' : Upper(stripped.view()[0]);
  s.Drop(1);
  double first[2], second[2];
  record.valid = [&] {
    if (!OpenBody(s) || !ReadNumbers(s, first)) return false;
    s.Drop(1);  // the "-" between the points, whatever it is
    return OpenBody(s) && ReadNumbers(s, second);
  }();
  if (record.valid) {
    record.x1 = first[0], record.y1 = first[1], record.x2 = second[0], record.y2 = second[1];
  }
  const Tail tail = ReadTail(s, defaults);
  record.colour = tail.colour;
  record.thickness = tail.thickness;
  return record;
}

CircleRecord ReadCircle(std::string_view line, const ReadingDefaults& defaults) {
  const WithoutBlanks stripped(line);
  Scanner s(stripped.view(), defaults.decimal_separator);
  CircleRecord record;
  s.Drop(1);
  double v[3];
  record.valid = OpenBody(s) && ReadNumbers(s, v);
  if (record.valid) record.x = v[0], record.y = v[1], record.radius = v[2];
  const Tail tail = ReadTail(s, defaults);
  record.colour = tail.colour;
  record.thickness = tail.thickness;
  return record;
}

ArcRecord ReadArc(std::string_view line, const ReadingDefaults& defaults) {
  const WithoutBlanks stripped(line);
  Scanner s(stripped.view(), defaults.decimal_separator);
  ArcRecord record;
  s.Drop(3);
  double v[5];
  record.valid = OpenBody(s) && ReadNumbers(s, v);
  if (record.valid) {
    record.x = v[0], record.y = v[1], record.radius = v[2];
    record.start_angle = v[3] * kDegreesToRadians;
    record.end_angle = v[4] * kDegreesToRadians;
  }
  const Tail tail = ReadTail(s, defaults);
  record.colour = tail.colour;
  record.thickness = tail.thickness;
  return record;
}

TextRecord ReadText(std::string_view line, const ReadingDefaults& defaults) {
  const std::string stripped = StripBlanksOutsideQuotes(line);
  Scanner s(stripped, defaults.decimal_separator);
  TextRecord record;
  s.Drop(1);
  record.valid = [&] {
    double position[2];
    if (!OpenBody(s)) return false;
    for (double& v : position) {
      const auto value = s.NumberBefore(',');
      if (!value) return false;
      v = *value;
    }
    s.Drop(1);  // the opening quote
    const auto text = s.TextBefore("',");
    if (!text) return false;
    // Height, width and angle are single precision.
    float size[3];
    for (size_t i = 0; i < 3; ++i) {
      const auto value = s.SingleBefore(i == 2 ? ')' : ',');
      if (!value) return false;
      size[i] = *value;
    }
    record.x = position[0], record.y = position[1];
    record.text = std::string(text->substr(0, CharactersLength(*text, kMaxTextCharacters)));
    record.height = size[0];
    record.width = size[1];
    record.angle = size[2];
    return true;
  }();
  const Tail tail = ReadTail(s, defaults);
  record.colour = tail.colour;
  record.thickness = tail.thickness;
  return record;
}

ColourRecord ReadColourCommand(std::string_view line, const ReadingDefaults& defaults) {
  const WithoutBlanks stripped(line);
  Scanner s(stripped.view(), defaults.decimal_separator);
  ColourRecord record;
  s.Drop(1);
  if (s.rest().find(',') != std::string_view::npos) {
    s.Drop(1);
    if (const auto colour = s.ColourComponents()) {
      record.colour = *colour;
      record.valid = true;
    }
  } else if (OpenBody(s)) {
    if (const auto name = s.TextBefore(")")) {
      const std::string upper = UpperCp1250(*name);
      for (const auto& entry : kColourNames) {
        if (upper == entry.name) {
          record.colour = entry.colour;
          record.valid = true;
          break;
        }
      }
    }
  }
  return record;
}

ThicknessRecord ReadThicknessCommand(std::string_view line, const ReadingDefaults& defaults) {
  const WithoutBlanks stripped(line);
  Scanner s(stripped.view(), defaults.decimal_separator);
  ThicknessRecord record;
  s.Drop(3);
  if (const auto thickness = s.SingleBefore(')')) {
    record.thickness = *thickness;
    record.valid = true;
  }
  return record;
}

EntityRecord ReadEntity(std::string_view line, const ReadingDefaults& defaults) {
  switch (ClassifyLine(line)) {
    case EntityKind::kLine:
    case EntityKind::kRectangle:
      return ReadSegment(line, defaults);
    case EntityKind::kCircle:
      return ReadCircle(line, defaults);
    case EntityKind::kArc:
      return ReadArc(line, defaults);
    case EntityKind::kText:
      return ReadText(line, defaults);
    case EntityKind::kColour:
      return ReadColourCommand(line, defaults);
    case EntityKind::kThickness:
      return ReadThicknessCommand(line, defaults);
    case EntityKind::kNone:
      break;
  }
  return std::monostate{};
}

bool IsValid(const EntityRecord& record) {
  return std::visit(
      [](const auto& r) {
        if constexpr (std::is_same_v<std::decay_t<decltype(r)>, std::monostate>) {
          return false;
        } else {
          return r.valid;
        }
      },
      record);
}

namespace {

void AppendColour(std::string& out, Colour colour) {
  char buffer[24] = "K(";
  char* at = buffer + 2;
  const int parts[] = {Red(colour), Green(colour), Blue(colour)};
  for (int part : parts) {
    at = std::to_chars(at, buffer + sizeof(buffer), part).ptr;
    *at++ = ',';
  }
  at[-1] = ')';
  out.append(buffer, at);
}

}  // namespace

std::string FormatColour(Colour colour) {
  std::string out;
  AppendColour(out, colour);
  return out;
}

void AppendStyleTail(std::string& out, Colour colour, std::string_view thickness) {
  out.push_back(';');
  AppendColour(out, colour);
  out.append(";GR(");
  out.append(thickness);
  out.push_back(')');
}

std::string StyleTail(Colour colour, std::string_view thickness) {
  std::string out;
  AppendStyleTail(out, colour, thickness);
  return out;
}

}  // namespace blok
