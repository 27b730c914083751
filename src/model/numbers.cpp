#include "model/numbers.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <iterator>
#include <limits>
#include <span>
#include <system_error>

namespace blok {
namespace {

// The digits of |value| rounded to at most `maximum` decimals by the patterns' rule: half away
// from zero on the value's shortest decimal form. Trailing decimals are kept.
struct RoundedDigits {
  char digits[402];  // the shortest form of any double, and a place in front for a carry
  const char* first = nullptr;
  size_t integer = 0;
  size_t fraction = 0;
  std::string_view kept() const { return {first, integer + fraction}; }
  bool zero() const { return kept().find_first_not_of('0') == std::string_view::npos; }
};

void RoundDigits(double value, int maximum, RoundedDigits& out) {
  if (!std::isfinite(value)) value = 0;
  // Shortest fixed form: the digits a person would read for this double.
  char buffer[400];
  const auto [end, ec] =
      std::to_chars(buffer, buffer + sizeof(buffer), std::fabs(value), std::chars_format::fixed);
  const std::string_view shortest(buffer, ec == std::errc() ? end - buffer : 0);
  const size_t point = shortest.find('.');
  const std::string_view integer_part = shortest.substr(0, point);
  const std::string_view fraction_part =
      point == std::string_view::npos ? std::string_view() : shortest.substr(point + 1);
  char* first = out.digits + 1;
  size_t integer = integer_part.size();
  size_t fraction = fraction_part.size();
  integer_part.copy(first, integer);
  fraction_part.copy(first + integer, fraction);
  if (fraction > static_cast<size_t>(maximum)) {
    const bool round_up = first[integer + maximum] >= '5';
    fraction = maximum;
    if (round_up) {
      ptrdiff_t i = static_cast<ptrdiff_t>(integer + fraction) - 1;
      for (; i >= 0 && first[i] == '9'; --i) first[i] = '0';
      if (i >= 0) {
        ++first[i];
      } else {
        *--first = '1';
        ++integer;
      }
    }
  }
  out.first = first;
  out.integer = integer;
  out.fraction = fraction;
}

}  // namespace

void AppendPattern(std::string& out, double value, std::string_view pattern, char separator) {
  const Decimals decimals = PatternDecimals(pattern);
  RoundedDigits rounded;
  RoundDigits(value, decimals.maximum, rounded);
  const char* first = rounded.first;
  const size_t integer = rounded.integer;
  size_t fraction = rounded.fraction;
  while (fraction > static_cast<size_t>(decimals.minimum) && first[integer + fraction - 1] == '0') {
    --fraction;
  }
  const size_t padding =
      fraction < static_cast<size_t>(decimals.minimum) ? decimals.minimum - fraction : 0;
  if (value < 0 && !rounded.zero()) out.push_back('-');
  if (integer == 0) {
    out.push_back('0');
  } else {
    out.append(first, integer);
  }
  if (fraction + padding > 0) {
    out.push_back(separator);
    out.append(first + integer, fraction);
    out.append(padding, '0');
  }
}

std::optional<PatternUnits> RoundToDecimals(double value, int decimals) {
  // Exact: powers of ten up to 10^22 are doubles. More decimals than that fit no units.
  constexpr double kScales[] = {1,    1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,
                                1e10, 1e11, 1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19};
  if (!std::isfinite(value) || decimals < 0 || decimals >= std::ssize(kScales)) {
    return std::nullopt;
  }
  const double scale = kScales[decimals];
  const double scaled = std::fabs(value) * scale;
  // The shortest form lies within half a step of the value, and the scaling is one rounding
  // more: both together move it by less than scaled * 2^-51. Away from the middle between two
  // whole units by more than twice that, the digits round as the scaled value does.
  if (scaled < 0x1p49) {  // whole units a double holds, with room for the steps below
    const auto whole = static_cast<std::uint64_t>(scaled);
    const double part = scaled - static_cast<double>(whole);
    if (std::fabs(part - 0.5) > scaled * 0x1p-50) {
      const std::uint64_t units = part > 0.5 ? whole + 1 : whole;
      return PatternUnits{value < 0 && units != 0, units};
    }
  }
  // Near the middle, or too large for the scaled value to tell: the digits themselves.
  RoundedDigits rounded;
  RoundDigits(value, decimals, rounded);
  std::string digits(rounded.kept());
  digits.append(static_cast<size_t>(decimals) - rounded.fraction, '0');
  PatternUnits units{value < 0 && !rounded.zero(), 0};
  const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), units.units);
  if (ec != std::errc()) return std::nullopt;
  return units;
}

std::string FormatPattern(double value, std::string_view pattern, char separator) {
  std::string out;
  AppendPattern(out, value, pattern, separator);
  return out;
}

std::string ToLocalDecimal(std::string_view s, char separator) {
  std::string out(s);
  for (char& c : out) {
    if (c == '.' || c == ',') c = separator;
  }
  return out;
}

namespace {

std::string_view TrimBlanks(std::string_view s) {
  const size_t first = s.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  return s.substr(first, s.find_last_not_of(' ') - first + 1);
}

}  // namespace

std::optional<double> ParseNumber(std::string_view field, char separator) {
  // ToLocalDecimal, in place on the stack for any number of a sensible length.
  const std::string_view trimmed = TrimBlanks(field);
  char small[64];
  std::string large;
  char* text = small;
  if (trimmed.size() > sizeof small) {
    large.resize(trimmed.size());
    text = large.data();
  }
  for (size_t k = 0; k < trimmed.size(); ++k) {
    const char c = trimmed[k];
    text[k] = c == '.' || c == ',' ? separator : c;
  }
  const std::span<char> s(text, trimmed.size());
  size_t i = 0;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
  bool digits = false;
  bool seen_separator = false;
  for (; i < s.size(); ++i) {
    const char c = s[i];
    if (c >= '0' && c <= '9') {
      digits = true;
    } else if (c == separator && !seen_separator) {
      seen_separator = true;
      s[i] = '.';
    } else {
      break;
    }
  }
  if (!digits) return std::nullopt;
  if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
    size_t j = i + 1;
    if (j < s.size() && (s[j] == '+' || s[j] == '-')) ++j;
    const size_t first_digit = j;
    while (j < s.size() && s[j] >= '0' && s[j] <= '9') ++j;
    if (j == first_digit) return std::nullopt;
    i = j;
  }
  if (i != s.size()) return std::nullopt;
  const char* begin = s.data() + (s[0] == '+' ? 1 : 0);
  double value = 0;
  const auto [end, ec] = std::from_chars(begin, s.data() + s.size(), value);
  if (ec != std::errc() || end != s.data() + s.size() || !std::isfinite(value)) {
    return std::nullopt;
  }
  return value;
}

std::optional<int> ParseInteger(std::string_view field, char) {
  // ToLocalDecimal would only trade one decimal separator for the other: neither is a digit, so
  // a field with one fails either way, and the field is read as it stands.
  const std::string_view s = TrimBlanks(field);
  const char* begin = s.data();
  const char* end = s.data() + s.size();
  if (begin != end && *begin == '+') {
    ++begin;
    if (begin != end && *begin == '-') return std::nullopt;
  }
  int value = 0;
  const auto [stop, ec] = std::from_chars(begin, end, value);
  if (ec != std::errc() || stop != end) return std::nullopt;
  return value;
}

double FloatAsDecimal(float value) {
  char buffer[64];
  const auto [end, ec] = std::to_chars(buffer, buffer + sizeof(buffer), value);
  if (ec != std::errc()) return value;
  double out = value;
  std::from_chars(buffer, end, out);
  return out;
}

}  // namespace blok
