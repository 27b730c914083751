#include "model/numbers.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <system_error>

namespace blok {
namespace {

struct Decimals {
  int minimum = 0;
  int maximum = 0;
};

Decimals PatternDecimals(std::string_view pattern) {
  Decimals d;
  const size_t point = pattern.find('.');
  if (point == std::string_view::npos) return d;
  for (char c : pattern.substr(point + 1)) {
    if (c == '0') ++d.minimum;
    if (c == '0' || c == '#') ++d.maximum;
  }
  return d;
}

}  // namespace

std::string FormatPattern(double value, std::string_view pattern, char separator) {
  const Decimals decimals = PatternDecimals(pattern);
  if (!std::isfinite(value)) value = 0;
  // Shortest fixed form: the digits a person would read for this double.
  char buffer[400];
  const auto [end, ec] =
      std::to_chars(buffer, buffer + sizeof(buffer), std::fabs(value), std::chars_format::fixed);
  std::string digits(buffer, ec == std::errc() ? end : buffer);
  const size_t point = digits.find('.');
  std::string integer = digits.substr(0, point);
  std::string fraction = point == std::string::npos ? "" : digits.substr(point + 1);
  if (static_cast<int>(fraction.size()) > decimals.maximum) {
    const bool round_up = fraction[decimals.maximum] >= '5';
    fraction.resize(decimals.maximum);
    if (round_up) {
      std::string all = integer + fraction;
      int i = static_cast<int>(all.size()) - 1;
      for (; i >= 0 && all[i] == '9'; --i) all[i] = '0';
      if (i >= 0) {
        ++all[i];
      } else {
        all = '1' + all;
      }
      integer = all.substr(0, all.size() - fraction.size());
      fraction = all.substr(all.size() - fraction.size());
    }
  }
  while (static_cast<int>(fraction.size()) > decimals.minimum && fraction.back() == '0') {
    fraction.pop_back();
  }
  while (static_cast<int>(fraction.size()) < decimals.minimum) fraction.push_back('0');
  if (integer.empty()) integer.push_back('0');
  const bool zero = integer.find_first_not_of('0') == std::string::npos &&
                    fraction.find_first_not_of('0') == std::string::npos;
  std::string out;
  if (value < 0 && !zero) out.push_back('-');
  out += integer;
  if (!fraction.empty()) {
    out.push_back(separator);
    out += fraction;
  }
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
  std::string s = ToLocalDecimal(TrimBlanks(field), separator);
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

std::optional<int> ParseInteger(std::string_view field, char separator) {
  const std::string s = ToLocalDecimal(TrimBlanks(field), separator);
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
