#include "mkfont/hershey.h"

#include <charconv>
#include <string>

namespace blok::mkfont {
namespace {

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\r')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\r')) s.remove_suffix(1);
  return s;
}

}  // namespace

Result<std::vector<HersheyGlyph>> ParseHershey(std::string_view text) {
  std::vector<std::string_view> lines;
  for (std::size_t start = 0; start < text.size();) {
    std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.push_back(line);
    start = end + 1;
  }

  std::vector<HersheyGlyph> glyphs;
  for (std::size_t n = 0; n < lines.size();) {
    const std::size_t first_line = n + 1;
    const std::string_view line = lines[n++];
    if (Trim(line).empty()) continue;
    const auto fail = [&](const std::string& what) {
      return Fail("line " + std::to_string(first_line) + ": " + what);
    };
    if (line.size() < 8) return fail("glyph header too short");
    const std::string_view count_text = Trim(line.substr(5, 3));
    int count = 0;
    const auto [end, error] =
        std::from_chars(count_text.data(), count_text.data() + count_text.size(), count);
    if (error != std::errc() || end != count_text.data() + count_text.size() || count < 1) {
      return fail("bad vertex count '" + std::string(line.substr(5, 3)) + "'");
    }
    // The vertex pairs may continue on the next lines; the count says how many to take.
    std::string data(line.substr(8));
    const std::size_t wanted = 2 * static_cast<std::size_t>(count);
    while (data.size() < wanted && n < lines.size()) data += lines[n++];
    if (data.size() < wanted) return fail("glyph data cut short");
    data.resize(wanted);

    HersheyGlyph glyph;
    glyph.left = data[0] - 'R';
    glyph.right = data[1] - 'R';
    std::vector<HersheyPoint> path;
    for (std::size_t i = 2; i < wanted; i += 2) {
      if (data[i] == ' ' && data[i + 1] == 'R') {
        if (path.size() > 1) glyph.paths.push_back(std::move(path));
        path.clear();
        continue;
      }
      path.push_back({static_cast<double>(data[i] - 'R'), static_cast<double>(data[i + 1] - 'R')});
    }
    // A lone point draws nothing: the pen never moves.
    if (path.size() > 1) glyph.paths.push_back(std::move(path));
    glyphs.push_back(std::move(glyph));
  }
  return glyphs;
}

}  // namespace blok::mkfont
