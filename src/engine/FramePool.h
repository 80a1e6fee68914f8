#pragma once
// Picture buffers for the display, reused instead of allocated per picture.
// A frame handed out returns to the pool when its last holder (the display,
// the window, the screenshot slot) lets it go, on whichever thread that is.
#include <memory>
#include <mutex>
#include <vector>

#include "engine/BgrFrame.h"

namespace vantrel {

class FramePool {
 public:
  FramePool();
  // A frame of this size whose pixels no one else holds; its contents are
  // whatever it held last.
  std::shared_ptr<BgrFrame> take(int width, int height);

 private:
  struct Shelf {
    std::mutex lock;
    std::vector<std::unique_ptr<BgrFrame>> free;  // guarded by lock
  };
  // Shared with every frame's deleter, so frames may outlive the pool.
  std::shared_ptr<Shelf> shelf_;
};

}  // namespace vantrel
