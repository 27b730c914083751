#pragma once

// Numbers and points typed into the command line, and the small formatters the messages and
// the writers share. Every number text accepts "." and "," alike as the decimal separator.

#include <optional>
#include <string>
#include <string_view>

#include "geometry/geometry.h"

namespace blok {

// A number field as typed: "2,5" and "2.5" alike, blanks around it ignored; nothing when it is
// no number or lies beyond the single-precision range.
std::optional<double> TypedNumber(std::string_view text);

// The typed numbers: nothing when the text does not read as a number. A number beyond the
// single-precision range is not a number (no infinities).
// The value is the text between the first "(" and the next ")", blanks ignored: "(2,5)" is 2.5.
std::optional<double> ParsujLiczbe(std::string_view s);

// "(x,y)" and what follows it: the comma always separates x from y, so a decimal separator in a
// point must be a point. The rest starts one character after the ")" (the character is dropped)
// and keeps at most 255 characters.
struct TypedPoint {
  Point point;
  std::string rest;
};
std::optional<TypedPoint> ParsujPunkt(std::string_view s);

// "L(x1,y1)-(x2,y2)" after its first character; a point that is not there stays (0, 0).
struct TypedSegment {
  Point p1, p2;
};
std::optional<TypedSegment> ParsujOdcinek(std::string_view s);

// The number in s, or fallback when s is none (beyond the single range included); never below
// min.
double LiczbaZDomyslna(std::string_view s, double min, double fallback);

// "X=1,00 Y=-2,50": a point for the messages, two decimals and the working comma.
std::string FormatXY(double x, double y);

// Texts of the command line and of entity lines keep at most this many characters.
inline constexpr size_t kMaxTypedCharacters = 255;

}  // namespace blok
