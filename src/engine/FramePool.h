#pragma once
// Picture buffers for the display, reused instead of allocated per picture.
// A frame handed out returns to the pool when its last holder (the display,
// the window, the screenshot slot) lets it go, on whichever thread that is.
#include <memory>

#include "engine/BgrFrame.h"
#include "engine/Recycler.h"

namespace vantrel {

class FramePool {
 public:
  FramePool();
  // A frame of this size whose pixels no one else holds; its contents are
  // whatever it held last, without planes.
  std::shared_ptr<BgrFrame> take(int width, int height);

 private:
  Recycler<BgrFrame> frames_;
};

}  // namespace vantrel
