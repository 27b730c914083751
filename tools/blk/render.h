#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "model/error.h"

namespace blok {

struct RenderRequest {
  std::vector<std::string> lines;
  // The extension names the format: .svg, or one of Qt's image writers (.png, .jpg, .bmp, ...);
  // any other is refused.
  std::filesystem::path output;
  int width = 800;
  int height = 600;
  bool plain = false;  // the entities alone on white
};

// Draws a block zoomed to everything, as the editor's view shows it, into an image file.
Result<void> RenderBlock(const RenderRequest& request, const std::filesystem::path& font_file);

}  // namespace blok
