#pragma once
// The display step: takes the waiting picture from the PictureQueue, paces it
// against the audio clock, converts it to B, G, R and hands the finished frame
// to the video sink (the window draws it on its own thread). It also keeps the
// last presented picture for the screenshot command.
#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

#include "engine/BgrFrame.h"
#include "engine/FramePool.h"

namespace vantrel {

struct PlayerState;
class VideoSink;

// The last presented picture as a BMP stores it: rows of width x 3 bytes
// (B, G, R), bottom row first. Empty (0 x 0) before the first picture.
struct ScreenshotFrame {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> pixels;
};

// Pacing: a picture more than 0.1 s ahead of the audio clock waits 50 ms
// first, and goes on waiting, 50 ms at a time, until the clock has come
// within 0.1 s (pictures further apart than 50 ms, as at 10 or 15 a second,
// would otherwise run ahead of their sound). The clock moves on by itself
// once the sound has ended (the playback keeps it). Differences within a
// microsecond of 0.1 s count as 0.1 s, so that 0.1 s as the clocks count it
// does not become 0.1000000001 in doubles.
bool pictureMustWait(double pictureTime, double audioClock);
constexpr int kPacingWaitMs = 50;

class Display {
 public:
  // Records where pictures go (null: nowhere). The window scales each picture
  // to its video area when it paints, so no size is kept here. Always 1.
  int bindVideoSurface(VideoSink* sink);

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

  // A copy of the last presented picture; the copy is made only here, on
  // request, not on every picture.
  ScreenshotFrame screenshotFrame() const;

  // The time of the last presented picture, when it belongs to the playback
  // of that generation.
  std::optional<double> shownTime(uint32_t generation) const;

  // Pictures that waited for the audio clock, since this display was made.
  int64_t pacingWaits() const { return pacingWaits_.load(); }

 private:
  // Sleeps kPacingWaitMs unless a stop comes first.
  void waitForAudio(PlayerState& state);
  void publish(std::shared_ptr<const BgrFrame> frame);

  std::atomic<VideoSink*> sink_{nullptr};
  FramePool pool_;
  std::atomic<int64_t> pacingWaits_{0};

  mutable std::mutex snapshotLock_;
  std::shared_ptr<const BgrFrame> lastPresented_;  // guarded by snapshotLock_
};

}  // namespace vantrel
