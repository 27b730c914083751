#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace blok {

// Number patterns of the program's writers and read-outs. "0" is a digit always shown, "#" a
// digit shown when significant; only the decimals matter, the integer part is never cut.
inline constexpr std::string_view kCoordinatePattern = "#############0.0###";
inline constexpr std::string_view kValuePattern = "#############0.####";
inline constexpr std::string_view kThicknessPattern = "####0.0#";
inline constexpr std::string_view kAxisLabelPattern = "########0.##";
inline constexpr std::string_view kReadoutPattern = "#########0.##";
inline constexpr std::string_view kFixed2Pattern10 = "##########0.00";
inline constexpr std::string_view kFixed2Pattern8 = "########0.00";
inline constexpr std::string_view kFixed2Pattern7 = "#######0.00";
inline constexpr std::string_view kFixed2Pattern6 = "######0.00";
inline constexpr std::string_view kFixed3Pattern = "0.000";

// The separator the program works with; entity commands are written with the point.
inline constexpr char kWorkingSeparator = ',';

// Formats value by pattern: rounded half away from zero on the value's shortest decimal form
// (so 2.675 gives 2.68 at two decimals), trailing "#" decimals dropped, a leading "-" for
// negatives (never "-0"), no digit grouping, decimal separator as given.
std::string FormatPattern(double value, std::string_view pattern, char separator = '.');
// The same, written at the end of out.
void AppendPattern(std::string& out, double value, std::string_view pattern, char separator = '.');

// The decimals a pattern shows always ("0") and at most ("0" and "#").
struct Decimals {
  int minimum = 0;
  int maximum = 0;
};
constexpr Decimals PatternDecimals(std::string_view pattern) {
  Decimals d;
  const size_t point = pattern.find('.');
  if (point == std::string_view::npos) return d;
  for (char c : pattern.substr(point + 1)) {
    if (c == '0') ++d.minimum;
    if (c == '0' || c == '#') ++d.maximum;
  }
  return d;
}

// A number as a pattern of that many decimals at most rounds it, counted in units of its last
// decimal place: 2.675 to 2 decimals is 268 units. Two values print alike by a pattern exactly
// when these are equal; nothing when the value is not finite or the units do not fit.
struct PatternUnits {
  bool negative = false;  // never for zero
  std::uint64_t units = 0;
  bool operator==(const PatternUnits&) const = default;
};
std::optional<PatternUnits> RoundToDecimals(double value, int decimals);

// Every "." and "," of s replaced by separator.
std::string ToLocalDecimal(std::string_view s, char separator = kWorkingSeparator);

// Converts a number field: ToLocalDecimal, then a decimal number with that separator (optional
// sign, digits, at most one separator, optional exponent), blanks around it ignored. Nothing
// else is accepted: no infinity, no values beyond the range of a double.
std::optional<double> ParseNumber(std::string_view field, char separator = kWorkingSeparator);

// Converts an integer field (colour components) after the same replacement: optional sign and
// decimal digits within the 32-bit range, blanks around them ignored.
std::optional<int> ParseInteger(std::string_view field, char separator = kWorkingSeparator);

// The double whose shortest decimal form is that of the float: 0.1f gives 0.1.
double FloatAsDecimal(float value);

}  // namespace blok
