#pragma once
// A video sink that remembers what the display handed it: every picture's
// time and size, and the first and the last picture themselves.
#include <memory>
#include <mutex>
#include <vector>

#include "engine/VideoSink.h"

namespace vantrel::videotest {

class RecordingSink : public VideoSink {
 public:
  struct Seen {
    double time;
    int width, height;
  };

  void presentFrame(std::shared_ptr<const BgrFrame> frame) override {
    std::lock_guard<std::mutex> hold(lock_);
    seen_.push_back({frame->time, frame->width, frame->height});
    if (!first_) first_ = frame;
    last_ = std::move(frame);
  }
  std::vector<Seen> seen() const {
    std::lock_guard<std::mutex> hold(lock_);
    return seen_;
  }
  size_t count() const {
    std::lock_guard<std::mutex> hold(lock_);
    return seen_.size();
  }
  std::shared_ptr<const BgrFrame> first() const {
    std::lock_guard<std::mutex> hold(lock_);
    return first_;
  }
  std::shared_ptr<const BgrFrame> last() const {
    std::lock_guard<std::mutex> hold(lock_);
    return last_;
  }

 private:
  mutable std::mutex lock_;
  std::vector<Seen> seen_;
  std::shared_ptr<const BgrFrame> first_, last_;
};

}  // namespace vantrel::videotest
