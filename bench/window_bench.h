#pragma once

#include <stdlib.h>

#include <filesystem>
#include <string>
#include <vector>

namespace blok {

// What the benches in the real window share.

// A block's lines on a grid of 100 columns: lines with their own tail, circles, rectangles and
// texts in turn, as the benches in the real window draw, list and place them.
inline std::vector<std::string> GridLines(int count) {
  std::vector<std::string> lines;
  lines.reserve(static_cast<size_t>(count));
  for (int i = 0; i < count; ++i) {
    const std::string x = std::to_string(i % 100), y = std::to_string(i / 100);
    switch (i % 4) {
      case 0:
        lines.push_back("L(" + x + "," + y + ")-(" + x + ".5," + y + ".5);K(0,0,0);GR(0,10)");
        break;
      case 1:
        lines.push_back("O(" + x + "," + y + ",0.25)");
        break;
      case 2:
        lines.push_back("P(" + x + "," + y + ")-(" + x + ".2," + y + ".2)");
        break;
      default:
        lines.push_back("T(" + x + "," + y + ",'A" + std::to_string(i) + "',0.2,0.2,0)");
        break;
    }
  }
  return lines;
}

// A program directory of its own in the temporary folder, with the fonts the build makes and an
// empty Bloki/, for a bench that runs the real window.
inline std::filesystem::path ProgramDir(const std::string& prefix) {
  std::string pattern = "/tmp/" + prefix + "-XXXXXX";
  const std::filesystem::path dir = mkdtemp(pattern.data());
  std::filesystem::create_directories(dir / "Dane");
  std::filesystem::create_directories(dir / "Bloki");
  for (const char* font : {"Romans100.Lzs", "Greeks100.Lzs"}) {
    std::filesystem::copy_file(std::filesystem::path(BLOK_BIN_DIR) / "Dane" / font,
                               dir / "Dane" / font);
  }
  return dir;
}

}  // namespace blok
