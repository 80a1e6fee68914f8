#pragma once
// A PlaybackRecorder that remembers the number each presented picture of a
// `make-recording --numbers` recording carries, read from its pixels, with
// the picture's time.
#include <mutex>
#include <vector>

#include "engine/PlaybackRecorder.h"
#include "support/FrameNumber.h"

namespace vantrel {

class NumberRecorder : public PlaybackRecorder {
 public:
  void presentFrame(std::shared_ptr<const BgrFrame> frame) override {
    const int number = testsupport::pictureNumberOf(
        [&](int x, int y) { return frame->row(y)[3 * x + 1]; });  // green follows the brightness
    {
      std::lock_guard<std::mutex> hold(lock_);
      shown_.push_back({number, frame->time});
    }
    PlaybackRecorder::presentFrame(std::move(frame));
  }
  struct Shown {
    int number;
    double time;
  };
  std::vector<Shown> shown() {
    std::lock_guard<std::mutex> hold(lock_);
    return shown_;
  }
  size_t count() {
    std::lock_guard<std::mutex> hold(lock_);
    return shown_.size();
  }

 private:
  std::mutex lock_;
  std::vector<Shown> shown_;
};

}  // namespace vantrel
