#include "engine/Display.h"

#include <chrono>
#include <cstring>

#include "engine/PlayerState.h"
#include "engine/VideoSink.h"
#include "engine/YuvToBgr.h"

namespace vantrel {

bool pictureMustWait(double pictureTime, double audioClock) {
  constexpr double kLead = 0.1;
  constexpr double kTolerance = 1e-6;
  return pictureTime - audioClock > kLead + kTolerance;
}

int Display::bindVideoSurface(VideoSink* sink) {
  sink_ = sink;
  return 1;
}

int Display::presentPicture(PlayerState& state, bool paced) {
  if (!state.videoStream) return -1;
  const int current = state.videoQueue.serial.load();
  double time;
  int serial;
  {
    std::unique_lock<std::mutex> hold(state.pictureLock);
    if (state.pictureCount == 0) return -1;
    time = state.picture.time();
    serial = state.picture.serial();
    if (serial != current) {
      // From before a seek: paced against the clock of the new position it
      // would be held for as long as the seek went back.
      state.pictureCount = 0;
      hold.unlock();
      state.pictureCond.notify_all();
      return -1;
    }
  }
  if (paced && pictureMustWait(time, state.audioClock.load())) {
    pacingWaits_++;
    waitForAudio(state);
    return -1;  // held: the next step looks at the moved clock again
  }
  // The slot is still ours (count 1): the decoder does not touch the planes.
  const PictureQueue& picture = state.picture;
  std::shared_ptr<BgrFrame> frame = pool_.take(picture.width(), picture.height());
  frame->time = time;
  frame->generation = state.generation.load();
  frame->sampleAspect = picture.sampleAspect();
  convertYuvToBgr(picture.luma(), picture.lumaStride(), picture.cb(), picture.cr(),
                  picture.chromaStride(), frame->pixels.data(), frame->width, frame->height,
                  frame->stride);
  {
    std::lock_guard<std::mutex> hold(state.pictureLock);
    state.pictureCount = 0;
  }
  state.pictureCond.notify_all();  // the decoder may hand over the next picture
  publish(std::move(frame));
  return serial;
}

bool Display::waitForPicture(PlayerState& state, int timeoutMs) {
  std::unique_lock<std::mutex> hold(state.pictureLock);
  const auto ready = [&state] { return state.pictureCount != 0 && state.paused.load() == 0; };
  state.pictureCond.wait_for(hold, std::chrono::milliseconds(timeoutMs),
                             [&] { return ready() || state.quit.load() != 0; });
  return ready();
}

void Display::waitForAudio(PlayerState& state) {
  std::unique_lock<std::mutex> hold(state.pictureLock);
  state.pictureCond.wait_for(hold, std::chrono::milliseconds(kPacingWaitMs),
                             [&state] { return state.quit.load() != 0; });
}

void Display::publish(std::shared_ptr<const BgrFrame> frame) {
  {
    std::lock_guard<std::mutex> hold(snapshotLock_);
    lastPresented_ = frame;
  }
  if (VideoSink* sink = sink_.load()) sink->presentFrame(std::move(frame));
}

std::optional<double> Display::shownTime(uint32_t generation) const {
  std::lock_guard<std::mutex> hold(snapshotLock_);
  if (!lastPresented_ || lastPresented_->generation != generation) return std::nullopt;
  return lastPresented_->time;
}

ScreenshotFrame Display::screenshotFrame() const {
  std::shared_ptr<const BgrFrame> frame;
  {
    std::lock_guard<std::mutex> hold(snapshotLock_);
    frame = lastPresented_;
  }
  ScreenshotFrame shot;
  if (!frame) return shot;
  shot.width = frame->width;
  shot.height = frame->height;
  const size_t rowBytes = static_cast<size_t>(frame->width) * 3;
  shot.pixels.resize(rowBytes * frame->height);
  for (int r = 0; r < frame->height; ++r) {
    std::memcpy(shot.pixels.data() + rowBytes * (frame->height - 1 - r), frame->row(r), rowBytes);
  }
  return shot;
}

}  // namespace vantrel
