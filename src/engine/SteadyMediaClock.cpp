#include "engine/SteadyMediaClock.h"

namespace vantrel {

void SteadyMediaClock::reset(double media, Time now) {
  base_ = media;
  since_ = now;
  running_ = true;
}

void SteadyMediaClock::pause(Time now) {
  if (!running_) return;
  base_ = at(now);
  running_ = false;
}

void SteadyMediaClock::resume(Time now) {
  if (running_) return;
  since_ = now;
  running_ = true;
}

void SteadyMediaClock::setRate(double rate, Time now) {
  if (rate == rate_) return;
  base_ = at(now);
  since_ = now;
  rate_ = rate;
}

double SteadyMediaClock::at(Time now) const {
  if (!running_) return base_;
  return base_ + rate_ * std::chrono::duration<double>(now - since_).count();
}

}  // namespace vantrel
