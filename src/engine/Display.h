#pragma once
// The display step: takes the waiting picture from the PictureQueue, paces it
// against the audio clock, converts it to B, G, R and hands the finished frame
// to the video sink (the window draws it on its own thread). The sink keeps
// the picture it shows (the screenshot command takes it from there); nothing
// here holds a finished picture, so with a sink that keeps none one buffer
// serves every picture.
#include <atomic>
#include <cstdint>
#include <memory>

#include "engine/BgrFrame.h"
#include "engine/FramePool.h"
#include "engine/PlaybackStats.h"

namespace vantrel {

struct PlayerState;
class VideoSink;

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
  int presentPicture(PlayerState& state);

  // Sleeps until a picture waits to be shown (never while paused), a stop
  // comes or timeoutMs passes, so the playback loop need not spin, paused or
  // not. Whether a picture is ready to be shown.
  bool waitForPicture(PlayerState& state, int timeoutMs);

  // Pictures that waited for the audio clock, since this display was made.
  int64_t pacingWaits() const { return pacingWaits_.load(); }

  // How the pictures presented since this display was made stood against
  // the sound; dropped of them never reached the screen (the sink knows).
  PlaybackStats stats(int64_t dropped = 0) const { return stats_.stats(dropped); }

 private:
  // Sleeps kPacingWaitMs unless a stop comes first.
  void waitForAudio(PlayerState& state);
  void publish(std::shared_ptr<const BgrFrame> frame);

  std::atomic<VideoSink*> sink_{nullptr};
  FramePool pool_;
  std::atomic<int64_t> pacingWaits_{0};
  StatsRecorder stats_;
};

}  // namespace vantrel
