#include "engine/FramePool.h"

#include "engine/YuvPlanes.h"

namespace vantrel {

// A frame on the shelf gives its planes back to the decoder's side at once.
FramePool::FramePool() : frames_([](BgrFrame& frame) { frame.planes.reset(); }) {}

std::shared_ptr<BgrFrame> FramePool::take(int width, int height) {
  std::shared_ptr<BgrFrame> frame = frames_.take();
  frame->width = width;
  frame->height = height;
  frame->stride = width * 3;
  // Within the capacity a buffer already had, this neither allocates nor fills.
  frame->pixels.resize(static_cast<size_t>(frame->stride) * height);
  return frame;
}

}  // namespace vantrel
