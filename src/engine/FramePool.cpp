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
  const size_t bytes = static_cast<size_t>(frame->stride) * height;
  // A buffer of a much larger picture (shown whole a moment ago, when
  // zoomed) is given up rather than kept for pictures a fraction its size.
  if (frame->pixels.capacity() > 2 * bytes) std::vector<uint8_t>().swap(frame->pixels);
  // Within the capacity a buffer already had, this neither allocates nor fills.
  frame->pixels.resize(bytes);
  return frame;
}

}  // namespace vantrel
