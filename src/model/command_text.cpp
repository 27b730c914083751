#include "model/command_text.h"

namespace blok {

std::string StripAllBlanks(std::string_view s) {
  std::string out;
  out.reserve(s.size());
  for (char c : s) {
    if (c != ' ') out.push_back(c);
  }
  return out;
}

std::string TrimLineStart(std::string_view s) {
  const size_t first = s.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  s.remove_prefix(first);
  // The first character may be the lead byte of a longer UTF-8 sequence; keep it whole.
  size_t length = 1;
  while (length < s.size() && (static_cast<unsigned char>(s[length]) & 0xC0) == 0x80) ++length;
  std::string out(s.substr(0, length));
  const size_t rest = s.find_first_not_of(' ', length);
  if (rest != std::string_view::npos) out.append(s.substr(rest));
  return out;
}

std::string StripBlanksOutsideQuotes(std::string_view s) {
  std::string out;
  out.reserve(s.size());
  bool inside = false;
  for (char c : s) {
    if (c == '\'') inside = !inside;
    if (c != ' ' || inside) out.push_back(c);
  }
  return out;
}

}  // namespace blok
