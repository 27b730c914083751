#pragma once

// The one writer of entity lines. Whatever adds or rewrites a line of the drawing builds it here,
// so that every line holds to the same limits: numbers the patterns print as they are, one line
// that a save keeps whole, and a text that reads back as it was given.

#include <cstddef>
#include <expected>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include "model/entity.h"
#include "model/numbers.h"

namespace blok {

// Numbers this large print as 16 or more integer digits, past what the patterns are meant for.
inline constexpr double kLargestWritten = 1e15;
// A save keeps a line of at most this many characters.
inline constexpr size_t kLongestEntityLine = 255;

// Finite and below kLargestWritten in size.
bool WritableNumber(double value);

// A straight apostrophe in a text would end the text's quotes, so the blanks after it would be
// lost on reading: each becomes ’ (U+2019, which the code page holds). Whether any did.
inline constexpr std::string_view kTypographicApostrophe = "’";
bool TypographicApostrophes(std::string& text);

// What a line says, in the units it says it in. The kind of a segment is 'L' or 'P'.
struct SegmentFields {
  char kind = 'L';
  double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
};
struct CircleFields {
  double x = 0, y = 0, radius = 0;
};
// Angles in degrees.
struct ArcFields {
  double x = 0, y = 0, radius = 0, start = 0, end = 0;
};
// The text as it goes between the quotes: the caller fits it to the code page.
struct TextFields {
  double x = 0, y = 0;
  std::string_view text;
  double height = 0, width = 0, angle = 0;
};
using EntityFields = std::variant<SegmentFields, CircleFields, ArcFields, TextFields>;

// A thickness written from its value; it must be a writable number like the others.
struct ThicknessNumber {
  double value = kDefaultThickness;
  std::string_view pattern = kValuePattern;
  char separator = '.';
};

// What the writers differ in. Every number but a segment's coordinates is written
// kValuePattern with a point.
struct LineFormat {
  std::string_view segment_x1 = kValuePattern;
  std::string_view segment_y1_x2_y2 = kValuePattern;
  Colour colour = 0;
  // A selector's text is written as shown: its field ends at ")", so either separator reads.
  std::variant<std::string_view, ThicknessNumber> thickness = ThicknessNumber{};
};

enum class LineRefusal {
  kNumber,   // a number is not writable
  kText,     // the text would read back as another, or holds a line break
  kTooLong,  // more than kLongestEntityLine characters, or a line break in the thickness text
};

// The line "L(x1,y1)-(x2,y2);K(r,g,b);GR(t)", "O(...)", "LUK(...)" or "T(x,y,'text',h,w,a)" with
// its tail, or why it cannot be written.
std::expected<std::string, LineRefusal> WriteEntityLine(const EntityFields& fields,
                                                        const LineFormat& format);

// What WriteEntityLine would write, as a key to compare and hash: equal keys exactly for equal
// lines, nothing where it writes none. Not text: its numbers are kept as their units, unprinted.
std::optional<std::string> EntityLineKey(const EntityFields& fields, const LineFormat& format);
// The same, written at the end of out; false, and out as it was, where it writes none.
bool AppendEntityLineKey(std::string& out, const EntityFields& fields, const LineFormat& format);

}  // namespace blok
