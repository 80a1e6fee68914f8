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

// Pacing: a picture is shown when it is due, once the sound clock has come
// within kPacingLead seconds of playing time of it (kPacingLead × speed
// seconds of the recording), so the screen keeps with the sound rather than
// running ahead of it. One further ahead waits until it is due (pacingWait:
// the seconds of the recording it is ahead, over the speed), at most
// kLongestPacingWait at a time, and the step looks at the moved clock again.
// The wait ends a little before the due time, so that a clock running a
// little slower than the steady one does not need a second wait. The clock
// moves on by itself once the sound has ended (the playback keeps it).
// Differences within a microsecond of the lead count as the lead, so that it
// does not become 0.0050000001 in doubles.
constexpr double kPacingLead = 0.005;
constexpr auto kLongestPacingWait = std::chrono::milliseconds(50);
bool pictureMustWait(double pictureTime, double audioClock, double speed = 1.0);
// How long a picture `ahead` seconds of the recording before the clock waits.
std::chrono::microseconds pacingWait(double ahead, double speed);

// Faster than normal the machine may not convert every picture in time: a
// picture more than kTooLateSeconds of playing time behind the clock is
// dropped unseen, unless none has been shown for that long (the screen keeps
// moving even when the decoder itself falls behind). At normal speed and
// slower every picture is shown, a late one at once.
constexpr double kTooLateSeconds = 0.1;
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
  // Unpaced (a paused seek or step), the waiting picture is shown whatever
  // the clock.
  // While the sound waits for this picture its clock stands: a picture ahead
  // of it is held without a wait, so that the sound can start.
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
  // Sleeps the pacing wait unless a stop, a pause or a seek comes first.
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
