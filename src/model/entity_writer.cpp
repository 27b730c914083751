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

// The body of a line, "L(" to ")", appended to out; false when a number is not writable.
class BodyWriter {
 public:
  BodyWriter(std::string& out, const LineFormat& format) : out_(out), format_(format) {}

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
  void Number(double v, std::string_view pattern) const { AppendPattern(out_, v, pattern, '.'); }
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
};

// The format has no escapes: "'," inside a text ends it early, and blanks after an odd "'" are
// lost on reading.
bool ReadsBackAs(const std::string& line, std::string_view text) {
  if (HasLineBreak(text)) return false;
  const EntityRecord back = ReadEntity(line, ReadingDefaults{});
  const auto* read = std::get_if<TextRecord>(&back);
  return read != nullptr && read->valid && read->text == text;
}

// Characters are never more than bytes: most lines need no count.
bool FitsALine(std::string_view line) {
  return line.size() <= kLongestEntityLine || CharacterCount(line) <= kLongestEntityLine;
}

}  // namespace

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

}  // namespace blok
