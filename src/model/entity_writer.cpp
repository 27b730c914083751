#include "model/entity_writer.h"

#include <cmath>
#include <initializer_list>

#include "model/cp1250.h"
#include "model/entity_reader.h"

namespace blok {
namespace {

bool AllWritable(std::initializer_list<double> values) {
  for (double v : values) {
    if (!WritableNumber(v)) return false;
  }
  return true;
}

bool HasLineBreak(std::string_view s) { return s.find_first_of("\r\n") != std::string_view::npos; }

// A writable number as kValuePattern rounds it, in a fixed width: it always fits, fewer than 16
// integer digits and 4 decimals.
void AppendUnits(std::string& out, double v) {
  constexpr int kDecimals = PatternDecimals(kValuePattern).maximum;
  const PatternUnits units = RoundToDecimals(v, kDecimals).value_or(PatternUnits{});
  out.push_back(units.negative ? '-' : '+');
  out.append(reinterpret_cast<const char*>(&units.units), sizeof units.units);
}

// The body of a line, "L(" to ")", appended to out; false when a number is not writable. As a
// key (every number kValuePattern, KeyStandsForLine), each number is put as its units.
class BodyWriter {
 public:
  BodyWriter(std::string& out, const LineFormat& format, bool as_key = false)
      : out_(out), format_(format), as_key_(as_key) {}

  bool operator()(const SegmentFields& s) const {
    if (!AllWritable({s.x1, s.y1, s.x2, s.y2})) return false;
    out_.push_back(s.kind);
    out_.push_back('(');
    Number(s.x1, format_.segment_x1);
    out_.push_back(',');
    Number(s.y1, format_.segment_y1_x2_y2);
    out_.append(")-(");
    Number(s.x2, format_.segment_y1_x2_y2);
    out_.push_back(',');
    Number(s.y2, format_.segment_y1_x2_y2);
    out_.push_back(')');
    return true;
  }
  bool operator()(const CircleFields& c) const {
    if (!AllWritable({c.x, c.y, c.radius})) return false;
    out_.append("O(");
    Values({c.x, c.y, c.radius});
    out_.push_back(')');
    return true;
  }
  bool operator()(const ArcFields& a) const {
    if (!AllWritable({a.x, a.y, a.radius, a.start, a.end})) return false;
    out_.append("LUK(");
    Values({a.x, a.y, a.radius, a.start, a.end});
    out_.push_back(')');
    return true;
  }
  bool operator()(const TextFields& t) const {
    if (!AllWritable({t.x, t.y, t.height, t.width, t.angle})) return false;
    out_.append("T(");
    Values({t.x, t.y});
    out_.append(",'");
    out_.append(t.text);
    out_.append("',");
    Values({t.height, t.width, t.angle});
    out_.push_back(')');
    return true;
  }

 private:
  void Number(double v, std::string_view pattern) const {
    if (as_key_) {
      AppendUnits(out_, v);
    } else {
      AppendPattern(out_, v, pattern, '.');
    }
  }
  void Values(std::initializer_list<double> values) const {
    bool first = true;
    for (double v : values) {
      if (!first) out_.push_back(',');
      first = false;
      Number(v, kValuePattern);
    }
  }

  std::string& out_;
  const LineFormat& format_;
  bool as_key_;
};

// The format has no escapes: "'," inside a text ends it early, and blanks after an odd "'" are
// lost on reading.
bool ReadsBackAs(const std::string& line, std::string_view text) {
  if (HasLineBreak(text)) return false;
  const EntityRecord back = ReadEntity(line, ReadingDefaults{});
  const auto* read = std::get_if<TextRecord>(&back);
  return read != nullptr && read->valid && read->text == text;
}

// Whether a key can stand for the line: only a text and a thickness written as given can be
// refused or cut by what they say, and the key's units are those of kValuePattern with a point.
bool KeyStandsForLine(const EntityFields& fields, const LineFormat& format) {
  const auto* number = std::get_if<ThicknessNumber>(&format.thickness);
  return !std::holds_alternative<TextFields>(fields) && number != nullptr &&
         number->separator == '.' && number->pattern == kValuePattern &&
         format.segment_x1 == kValuePattern && format.segment_y1_x2_y2 == kValuePattern;
}

// Characters are never more than bytes: most lines need no count.
bool FitsALine(std::string_view line) {
  return line.size() <= kLongestEntityLine || CharacterCount(line) <= kLongestEntityLine;
}

}  // namespace

bool TypographicApostrophes(std::string& text) {
  bool replaced = false;
  for (size_t at = text.find('\''); at != std::string::npos;
       at = text.find('\'', at + kTypographicApostrophe.size())) {
    text.replace(at, 1, kTypographicApostrophe);
    replaced = true;
  }
  return replaced;
}

bool WritableNumber(double value) {
  return std::isfinite(value) && std::abs(value) < kLargestWritten;
}

std::expected<std::string, LineRefusal> WriteEntityLine(const EntityFields& fields,
                                                        const LineFormat& format) {
  const auto* number = std::get_if<ThicknessNumber>(&format.thickness);
  if (number != nullptr && !WritableNumber(number->value)) {
    return std::unexpected(LineRefusal::kNumber);
  }
  std::string line;
  line.reserve(96);
  if (!std::visit(BodyWriter(line, format), fields)) return std::unexpected(LineRefusal::kNumber);
  // Only what is written as given can break the line: a text and a thickness text.
  bool line_break = false;
  if (number != nullptr) {
    std::string thickness;
    AppendPattern(thickness, number->value, number->pattern, number->separator);
    AppendStyleTail(line, format.colour, thickness);
  } else {
    const std::string_view shown = std::get<std::string_view>(format.thickness);
    line_break = HasLineBreak(shown);
    AppendStyleTail(line, format.colour, shown);
  }
  if (const auto* text = std::get_if<TextFields>(&fields);
      text != nullptr && !ReadsBackAs(line, text->text)) {
    return std::unexpected(LineRefusal::kText);
  }
  if (line_break || !FitsALine(line)) return std::unexpected(LineRefusal::kTooLong);
  return line;
}

std::optional<std::string> EntityLineKey(const EntityFields& fields, const LineFormat& format) {
  std::string key;
  if (!AppendEntityLineKey(key, fields, format)) return std::nullopt;
  return key;
}

bool AppendEntityLineKey(std::string& out, const EntityFields& fields, const LineFormat& format) {
  if (!KeyStandsForLine(fields, format)) {
    auto line = WriteEntityLine(fields, format);
    if (!line) return false;
    out.push_back('\1');
    out.append(*line);
    return true;
  }
  // Every other line fits: five numbers and the tail are well within kLongestEntityLine.
  const auto& thickness = std::get<ThicknessNumber>(format.thickness);
  if (!WritableNumber(thickness.value)) return false;
  const size_t start = out.size();
  out.push_back('\0');
  if (!std::visit(BodyWriter(out, format, true), fields)) {
    out.resize(start);
    return false;
  }
  const Colour shown = RgbColour(Red(format.colour), Green(format.colour), Blue(format.colour));
  out.append(reinterpret_cast<const char*>(&shown), sizeof shown);
  AppendUnits(out, thickness.value);
  return true;
}

}  // namespace blok
