#include "engine/Display.h"

#include <algorithm>
#include <chrono>

#include "engine/EngineState.h"
#include "engine/PlayerState.h"
#include "engine/ShownPicture.h"
#include "engine/VideoSink.h"

namespace vantrel {

namespace {
constexpr double kTolerance = 1e-6;
}  // namespace

bool pictureMustWait(double pictureTime, double audioClock, double speed) {
  return pictureTime - audioClock > kPacingLead * speed + kTolerance;
}

std::chrono::microseconds pacingWait(double ahead, double speed) {
  const double seconds = ahead / std::max(speed, 1e-3) - kPacingLead / 2;
  const auto wait = std::chrono::microseconds(static_cast<int64_t>(std::max(seconds, 0.0) * 1e6));
  return std::min<std::chrono::microseconds>(wait, kLongestPacingWait);
}

bool pictureTooLate(double pictureTime, double audioClock, double speed,
                    double secondsSinceLastShown) {
  if (speed <= 1.0 || secondsSinceLastShown >= kTooLateSeconds) return false;
  return audioClock - pictureTime > kTooLateSeconds * speed + kTolerance;
}

void Display::bindVideoSurface(VideoSink* sink) {
  sink_ = sink;
}

void Display::readClockWith(std::function<double()> reader) {
  clock_ = std::move(reader);
}

double Display::clockNow(PlayerState& state) const {
  return clock_ ? clock_() : state.audioClock.load();
}

int Display::presentPicture(PlayerState& state, bool paced) {
  EngineState& engine = engineOf(state);
  if (!engine.videoStream) return -1;
  const int current = engine.videoQueue.serial.load();
  double time;
  int serial;
  {
    std::unique_lock<std::mutex> hold(engine.pictureLock);
    if (engine.pictureCount == 0) return -1;
    time = engine.picture.time();
    serial = engine.picture.serial();
    if (serial != current) {
      // From before a seek: paced against the clock of the new position it
      // would be held for as long as the seek went back.
      engine.pictureCount = 0;
      hold.unlock();
      engine.pictureCond.notify_all();
      return -1;
    }
  }
  const double speed = state.speed.load();
  const double clock = clockNow(state);
  if (paced && pictureMustWait(time, clock, speed)) {
    if (engine.soundWaitsForPicture.load()) return -1;
    pacingWaits_++;
    waitForAudio(state, pacingWait(time - clock, speed));
    return -1;  // held: the next step looks at the moved clock again
  }
  const auto now = std::chrono::steady_clock::now();
  if (paced &&
      pictureTooLate(time, clock, speed, std::chrono::duration<double>(now - lastShown_).count())) {
    droppedLate_++;
    releasePicture(state);
    return -1;
  }
  lastShown_ = now;
  // The slot is still ours (count 1): the decoder does not touch the planes.
  const VideoSink* sink = sink_.load();
  std::shared_ptr<BgrFrame> frame;
  if (sink && sink->wantsPixels()) {
    frame = convert(*sink, engine.picture);
  } else {
    frame = std::make_shared<BgrFrame>();
    frame->width = engine.picture.width();
    frame->height = engine.picture.height();
  }
  frame->time = time;
  frame->generation = state.generation.load();
  frame->sampleAspect = engine.picture.sampleAspect();
  releasePicture(state);
  publish(std::move(frame));
  // Measured once the sink has it as its picture (it may have waited for the
  // paint of the one before).
  stats_.picture(time - clockNow(state), speed);
  return serial;
}

std::shared_ptr<BgrFrame> Display::convert(const VideoSink& sink, PictureQueue& picture) {
  const YuvPlanes& planes = picture.planes();
  const PixelSize shown = sink.shownSize(planes.width, planes.height, picture.sampleAspect());
  // Smaller one way and not larger the other: the window would pick the
  // nearest pixels of the whole picture (enlarged it blends, from the whole).
  const bool smaller = shown.width > 0 && shown.height > 0 && shown.width <= planes.width &&
                       shown.height <= planes.height &&
                       (shown.width < planes.width || shown.height < planes.height);
  if (!smaller) {
    std::shared_ptr<BgrFrame> frame = pool_.take(planes.width, planes.height);
    convertWhole(planes, *frame);
    return frame;
  }
  std::shared_ptr<BgrFrame> frame = pool_.take(shown.width, shown.height);
  convertShrunk(planes, *frame);
  frame->planes = picture.takePlanes();
  return frame;
}

void Display::releasePicture(PlayerState& state) {
  EngineState& engine = engineOf(state);
  {
    std::lock_guard<std::mutex> hold(engine.pictureLock);
    engine.pictureCount = 0;
  }
  engine.pictureCond.notify_all();  // the decoder may hand over the next picture
}

bool Display::waitForPicture(PlayerState& state, int timeoutMs) {
  EngineState& engine = engineOf(state);
  std::unique_lock<std::mutex> hold(engine.pictureLock);
  const auto ready = [&state, &engine] { return engine.pictureCount != 0 && !state.paused.load(); };
  engine.pictureCond.wait_for(hold, std::chrono::milliseconds(timeoutMs),
                              [&] { return ready() || state.quit.load(); });
  return ready();
}

void Display::waitForAudio(PlayerState& state, std::chrono::microseconds wait) {
  EngineState& engine = engineOf(state);
  std::unique_lock<std::mutex> hold(engine.pictureLock);
  engine.pictureCond.wait_for(hold, wait, [&state] {
    return state.quit.load() || state.paused.load() || state.seeks.pending();
  });
}

void Display::publish(std::shared_ptr<const BgrFrame> frame) {
  {
    std::lock_guard<std::mutex> hold(shownLock_);
    shown_ = Shown{frame->time, frame->generation};
  }
  if (VideoSink* sink = sink_.load()) sink->presentFrame(std::move(frame));
}

std::optional<double> Display::shownTime(uint32_t generation) const {
  std::lock_guard<std::mutex> hold(shownLock_);
  if (!shown_ || shown_->generation != generation) return std::nullopt;
  return shown_->time;
}

PlaybackStats Display::stats(int64_t dropped) const {
  PlaybackStats s = stats_.stats(dropped);
  s.dropped += droppedLate_.load() + skipped_.load();
  return s;
}

}  // namespace vantrel
