#pragma once
// The media time of the sound being heard. Each device callback reports the
// sound it handed over: the media times where it starts and ends, and how
// long it plays. Between callbacks the clock runs on as the device plays that
// buffer, but never past its end: a device that gets nothing stops the clock.
// A seek or a new playback restarts it at a media time, which it reads until
// sound from there is handed over. It has no lock of its own: the decoded-sound
// list's lock guards it.
#include <chrono>

namespace vantrel {

class AudioClock {
 public:
  using Time = std::chrono::steady_clock::time_point;

  void restart(double media, Time now);
  // A callback at `at` handed over sound from media time start to end that
  // plays for playSeconds.
  void handed(double start, double end, double playSeconds, Time at);
  double at(Time now) const;
  // Seconds since the sound handed over last finished playing (since the
  // restart when none has been handed over since); 0 while some plays.
  double silentFor(Time now) const;

 private:
  double start_ = 0.0;  // media time at since_
  double end_ = 0.0;    // media time where the handed sound ends
  double playSeconds_ = 0.0;
  Time since_{};
};

}  // namespace vantrel
