#pragma once

#include "view/canvas.h"

namespace blok {

// The paint box with its off-screen image. A full redraw draws into the image and presents
// it; previews and highlights draw on the overlay, which RestoreView wipes by showing the
// image alone again. Nothing needs to be redrawn to remove a preview.
class Surface {
 public:
  virtual ~Surface() = default;

  virtual int width() const = 0;
  virtual int height() const = 0;
  // Valid until Present.
  virtual Canvas& ImageCanvas() = 0;
  // Shows the image after a full redraw.
  virtual void Present() = 0;
  // Valid until RestoreView.
  virtual Canvas& OverlayCanvas() = 0;
  // Wipes the overlay.
  virtual void RestoreView() = 0;
};

}  // namespace blok
