#include "engine/FramePool.h"

namespace vantrel {

FramePool::FramePool() : shelf_(std::make_shared<Shelf>()) {}

std::shared_ptr<BgrFrame> FramePool::take(int width, int height) {
  std::unique_ptr<BgrFrame> frame;
  {
    std::lock_guard<std::mutex> hold(shelf_->lock);
    if (!shelf_->free.empty()) {
      frame = std::move(shelf_->free.back());
      shelf_->free.pop_back();
    }
  }
  if (!frame) frame = std::make_unique<BgrFrame>();
  frame->width = width;
  frame->height = height;
  frame->stride = width * 3;
  // Within the capacity a buffer already had, this neither allocates nor fills.
  frame->pixels.resize(static_cast<size_t>(frame->stride) * height);
  std::shared_ptr<Shelf> shelf = shelf_;
  return std::shared_ptr<BgrFrame>(frame.release(), [shelf](BgrFrame* returned) {
    std::lock_guard<std::mutex> hold(shelf->lock);
    shelf->free.emplace_back(returned);
  });
}

}  // namespace vantrel
