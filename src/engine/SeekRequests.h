#pragma once
// Where the user asked the picture to go, on its way from the UI thread (keys,
// the progress slider, later the map) to the playback thread: the newest
// target and the frame steps not yet taken. Targets are media times (the
// pictures' own timestamps, BgrFrame::time); positions are seconds from the
// recording's start, as the slider and the elapsed time count them.
#include <mutex>
#include <optional>

namespace vantrel {

// A picture at most this far after a target still counts as at the target:
// the rounding between a time base and seconds in doubles.
constexpr double kExactSeekTolerance = 0.0005;

class SeekRequests {
 public:
  // A new recording (the playback thread, once it is open): nothing pending;
  // position 0 is media time start, and it is length seconds long (0 unknown).
  void reset(double start, double length);

  // The picture at position; clamped into the recording. Pending steps are
  // dropped: the user went elsewhere. Returns the position asked for.
  double seekTo(double position);
  // delta seconds on from the target still pending, else from media time
  // `shown` (the picture on screen). Returns the position asked for.
  double seekBy(double delta, double shown);
  // One picture on (+1) or back (-1). A repeated key adds nothing while a step
  // that way is still pending, so holding a key never runs on after release.
  void step(int direction, bool repeat);

  // The playback thread takes the target (media time), then the steps one by one.
  std::optional<double> takeTarget();
  int takeStep();
  bool pending() const;

  double positionOf(double media) const;

 private:
  double clampedLocked(double position) const;

  mutable std::mutex lock_;
  double start_ = 0.0;            // guarded by lock_
  double length_ = 0.0;           // guarded by lock_
  std::optional<double> target_;  // media time; guarded by lock_
  int steps_ = 0;                 // pictures to step, signed; guarded by lock_
};

}  // namespace vantrel
