#pragma once

#include <filesystem>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "model/error.h"
#include "model/parsed_entity.h"
#include "view/canvas.h"
#include "view/stroke_font.h"
#include "view/view_transform.h"

class QGuiApplication;

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

// Painting without a display, for the length of one command: an application object on the
// offscreen platform (unless QT_QPA_PLATFORM names another), with Qt's notes about its
// environment kept off standard error. Made once, before anything is painted.
class OffscreenPainting {
 public:
  OffscreenPainting();
  ~OffscreenPainting();
  OffscreenPainting(const OffscreenPainting&) = delete;
  OffscreenPainting& operator=(const OffscreenPainting&) = delete;

 private:
  int argc_ = 1;
  char name_[4] = "blk";
  char* argv_[2] = {name_, nullptr};
  std::unique_ptr<QGuiApplication> app_;
};

// Draws a block zoomed to everything, as the editor's view shows it, into an image file.
Result<void> RenderBlock(const RenderRequest& request, const std::filesystem::path& font_file);

}  // namespace blok
