#pragma once

#include "support/recording_canvas.h"
#include "view/surface.h"

namespace blok::testing {

// A Surface whose image and overlay record the calls made on them. RestoreView forgets the
// overlay's calls, as the real overlay is wiped; Present keeps the image's calls until the next
// frame begins (the first ImageCanvas call after a Present).
class FakeSurface : public Surface {
 public:
  FakeSurface(int width = 800, int height = 600) : width_(width), height_(height) {}

  int width() const override { return width_; }
  int height() const override { return height_; }
  Canvas& ImageCanvas() override {
    if (presented_) {
      image_.Clear();
      presented_ = false;
    }
    return image_;
  }
  void Present() override {
    presented_ = true;
    ++presents;
  }
  Canvas& OverlayCanvas() override { return overlay_; }
  void RestoreView() override {
    overlay_.Clear();
    ++restores;
  }

  void Resize(int width, int height) { width_ = width, height_ = height; }
  const RecordingCanvas& image() const { return image_; }
  const RecordingCanvas& overlay() const { return overlay_; }

  int presents = 0;
  int restores = 0;

 private:
  int width_;
  int height_;
  RecordingCanvas image_;
  RecordingCanvas overlay_;
  bool presented_ = false;
};

}  // namespace blok::testing
