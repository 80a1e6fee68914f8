#include "engine/AudioClock.h"

#include <algorithm>

namespace vantrel {

namespace {
double seconds(AudioClock::Time::duration d) {
  return std::chrono::duration<double>(d).count();
}
}  // namespace

void AudioClock::restart(double media, Time now) {
  start_ = end_ = media;
  playSeconds_ = 0.0;
  since_ = now;
}

void AudioClock::handed(double start, double end, double playSeconds, Time at) {
  start_ = start;
  end_ = std::max(start, end);
  playSeconds_ = std::max(0.0, playSeconds);
  since_ = at;
}

double AudioClock::at(Time now) const {
  if (playSeconds_ <= 0.0) return start_;
  const double played = std::clamp(seconds(now - since_) / playSeconds_, 0.0, 1.0);
  return start_ + played * (end_ - start_);
}

double AudioClock::silentFor(Time now) const {
  return std::max(0.0, seconds(now - since_) - playSeconds_);
}

}  // namespace vantrel
