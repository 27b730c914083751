#include "interaction/typed_input.h"

#include <cmath>
#include <limits>

#include "model/command_text.h"
#include "model/cp1250.h"
#include "model/numbers.h"

namespace blok {
namespace {

void DropCharacter(std::string_view& s) {
  size_t pos = 0;
  if (!s.empty()) DecodeUtf8(s, pos);
  s.remove_prefix(pos);
}

// "x,y)" from the front of s, dropped through the ")".
std::optional<Point> PointBody(std::string_view& s) {
  const size_t comma = s.find(',');
  if (comma == std::string_view::npos) return std::nullopt;
  const std::optional<double> x = TypedNumber(s.substr(0, comma));
  if (!x) return std::nullopt;
  s.remove_prefix(comma + 1);
  const size_t close = s.find(')');
  if (close == std::string_view::npos) return std::nullopt;
  const std::optional<double> y = TypedNumber(s.substr(0, close));
  if (!y) return std::nullopt;
  s.remove_prefix(close + 1);
  return Point{*x, *y};
}

}  // namespace

// Points, radii, angles and sizes end up in singles, so a larger number is no value at all.
std::optional<double> TypedNumber(std::string_view text) {
  const std::optional<double> value = ParseNumber(text, kWorkingSeparator);
  if (!value || std::abs(*value) > std::numeric_limits<float>::max()) return std::nullopt;
  return value;
}

std::optional<double> ParsujLiczbe(std::string_view s) {
  const std::string text = StripAllBlanks(s);
  const size_t open = text.find('(');
  if (open == std::string::npos) return std::nullopt;
  const std::string_view body = std::string_view(text).substr(open + 1);
  const size_t close = body.find(')');
  if (close == std::string_view::npos) return std::nullopt;
  return TypedNumber(body.substr(0, close));
}

std::optional<TypedPoint> ParsujPunkt(std::string_view s) {
  // Blanks go only up to the first ")": behind it may stand a text that keeps them.
  const size_t first_close = s.find(')');
  std::string text = StripAllBlanks(s.substr(0, first_close));
  if (first_close != std::string_view::npos) text.append(s.substr(first_close));
  std::string_view rest = text;
  const size_t open = rest.find('(');
  if (open == std::string_view::npos) return std::nullopt;
  rest.remove_prefix(open + 1);
  const std::optional<Point> point = PointBody(rest);
  if (!point) return std::nullopt;
  DropCharacter(rest);
  return TypedPoint{*point, CutToCharacters(rest, kMaxTypedCharacters)};
}

std::optional<TypedSegment> ParsujOdcinek(std::string_view s) {
  const std::string text = StripAllBlanks(s);
  std::string_view rest = text;
  DropCharacter(rest);
  TypedSegment segment;
  // A point that is not introduced by "(" is simply not there.
  const auto read_point = [&rest](Point& point) {
    if (!rest.starts_with('(')) return true;
    rest.remove_prefix(1);
    const std::optional<Point> read = PointBody(rest);
    if (read) point = *read;
    return read.has_value();
  };
  if (!read_point(segment.p1)) return std::nullopt;
  DropCharacter(rest);  // the "-" between the points
  if (!read_point(segment.p2)) return std::nullopt;
  return segment;
}

double LiczbaZDomyslna(std::string_view s, double min, double fallback) {
  const double value = TypedNumber(s).value_or(fallback);
  return value < min ? min : value;
}

std::string FormatXY(double x, double y) {
  return "X=" + FormatPattern(x, kFixed2Pattern10, kWorkingSeparator) +
         " Y=" + FormatPattern(y, kFixed2Pattern10, kWorkingSeparator);
}

}  // namespace blok
