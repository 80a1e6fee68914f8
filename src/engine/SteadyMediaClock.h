#pragma once
// The clock of a recording without sound: media seconds that advance with
// the steady clock (times the playback speed) while playing, stand still
// while paused and jump with a seek. The display paces pictures against it as it would against the
// audio clock. Playback thread only.
#include <chrono>

namespace vantrel {

class SteadyMediaClock {
 public:
  using Time = std::chrono::steady_clock::time_point;

  // Running from media time `media` at `now`.
  void reset(double media, Time now);
  void pause(Time now);
  void resume(Time now);
  // Media seconds a second from now on; the time reached so far stays.
  void setRate(double rate, Time now);
  double at(Time now) const;

 private:
  double base_ = 0.0;  // media time at since_ (running) or while stopped
  Time since_{};
  bool running_ = false;
  double rate_ = 1.0;
};

}  // namespace vantrel
