#pragma once
// The display step: takes the waiting picture from the PictureQueue, paces it
// against the audio clock, converts it to B, G, R (only the pixels shown,
// when the sink shows it smaller) and hands the finished frame to the video
// sink (the window draws it on its own thread). The sink keeps the picture
// it shows (the screenshot command takes it from there); nothing here holds
// a finished picture, so with a sink that keeps none one buffer serves every
// picture.
#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>

#include "engine/BgrFrame.h"
#include "engine/FramePool.h"
#include "engine/PlaybackStats.h"

namespace vantrel {

class PictureQueue;
struct PlayerState;
class VideoSink;

// Pacing: a picture more than 0.1 s ahead of the audio clock waits 50 ms
// first, and goes on waiting, 50 ms at a time, until the clock has come
// within 0.1 s (pictures further apart than 50 ms, as at 10 or 15 a second,
// would otherwise run ahead of their sound). The clock moves on by itself
// once the sound has ended (the playback keeps it). Differences within a
// microsecond of 0.1 s count as 0.1 s, so that 0.1 s as the clocks count it
// does not become 0.1000000001 in doubles.
//
// At other playback speeds the pacing keeps its feel in seconds of the
// screen where that is the finer: slower, the lead is 0.1 s of playing time
// (0.025 s of media at 0.25x), so the picture never runs visibly ahead of its
// sound; faster, the wait is 50 ms of media (12.5 ms at 4x), so pictures come
// one by one rather than in bursts.
bool pictureMustWait(double pictureTime, double audioClock, double speed = 1.0);
constexpr int kPacingWaitMs = 50;
std::chrono::microseconds pacingWait(double speed);

// Faster than normal the machine may not convert every picture in time: a
// picture more than 0.1 s of playing time behind the clock is dropped unseen,
// unless none has been shown for that long (the screen keeps moving even when
// the decoder itself falls behind). At normal speed and slower every picture
// is shown, a late one at once.
bool pictureTooLate(double pictureTime, double audioClock, double speed,
                    double secondsSinceLastShown);

class Display {
 public:
  // Records where pictures go (null: nowhere). The window scales each picture
  // to its video area when it paints, so no size is kept here.
  void bindVideoSurface(VideoSink* sink);
  // Where the sound clock is read as a picture is paced and shown, on the
  // playback thread (null: the player's audioClock as last set).
  void readClockWith(std::function<double()> reader);

  // One display step, on the playback thread: returns at once when no
  // picture waits, drops a picture decoded before the last seek unseen, and
  // holds one that is too far ahead of the audio clock for a later step. The
  // picture slot stays taken until the picture has been converted, so the
  // decoder never writes into planes being read. Returns the serial of the
  // picture shown (the video queue's at its decoding), -1 when none was.
  // Unpaced (a frame step), the waiting picture is shown whatever the clock.
  int presentPicture(PlayerState& state, bool paced = true);

  // Sleeps until a picture waits to be shown (never while paused), a stop
  // comes or timeoutMs passes, so the playback loop need not spin, paused or
  // not. Whether a picture is ready to be shown.
  bool waitForPicture(PlayerState& state, int timeoutMs);

  // The time of the last presented picture, when it belongs to the playback
  // of that generation.
  std::optional<double> shownTime(uint32_t generation) const;

  // Pictures that waited for the audio clock, since this display was made.
  int64_t pacingWaits() const { return pacingWaits_.load(); }
  // Pictures dropped for being too late, since this display was made.
  int64_t droppedLate() const { return droppedLate_.load(); }
  // Pictures the decoder left out to catch up with the sound: dropped too.
  void countSkipped(int64_t pictures) { skipped_ += pictures; }

  // How the pictures presented since this display was made stood against
  // the sound; dropped of them never reached the screen (the sink knows).
  // The pictures dropped here for being too late, and those the decoder
  // left out, count as dropped too.
  PlaybackStats stats(int64_t dropped = 0) const;

 private:
  // Sleeps the pacing wait unless a stop comes first.
  void waitForAudio(PlayerState& state, std::chrono::microseconds wait);
  void releasePicture(PlayerState& state);
  // The slot's picture as the sink shows it.
  std::shared_ptr<BgrFrame> convert(const VideoSink& sink, PictureQueue& picture);
  void publish(std::shared_ptr<const BgrFrame> frame);

  double clockNow(PlayerState& state) const;

  std::atomic<VideoSink*> sink_{nullptr};
  std::function<double()> clock_;  // playback thread only
  FramePool pool_;
  std::atomic<int64_t> pacingWaits_{0};
  std::atomic<int64_t> droppedLate_{0};
  std::atomic<int64_t> skipped_{0};
  std::chrono::steady_clock::time_point lastShown_{};  // playback thread only
  StatsRecorder stats_;
  struct Shown {
    double time;
    uint32_t generation;
  };
  mutable std::mutex shownLock_;
  std::optional<Shown> shown_;  // the last picture handed to the sink
};

}  // namespace vantrel
