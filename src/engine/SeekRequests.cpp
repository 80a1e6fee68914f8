#include "engine/SeekRequests.h"

#include <algorithm>
#include <utility>

namespace vantrel {

void SeekRequests::reset(double start, double length) {
  std::lock_guard<std::mutex> hold(lock_);
  start_ = start;
  length_ = std::max(length, 0.0);
  target_.reset();
  steps_ = 0;
}

double SeekRequests::clampedLocked(double position) const {
  position = std::max(position, 0.0);
  return length_ > 0.0 ? std::min(position, length_) : position;
}

double SeekRequests::seekTo(double position) {
  std::lock_guard<std::mutex> hold(lock_);
  position = clampedLocked(position);
  target_ = start_ + position;
  steps_ = 0;
  return position;
}

double SeekRequests::seekBy(double delta, double shown) {
  std::lock_guard<std::mutex> hold(lock_);
  const double from = (target_ ? *target_ : shown) - start_;
  const double position = clampedLocked(from + delta);
  target_ = start_ + position;
  steps_ = 0;
  return position;
}

void SeekRequests::step(int direction, bool repeat) {
  direction = direction < 0 ? -1 : 1;
  std::lock_guard<std::mutex> hold(lock_);
  // Turning round drops what was still to go the other way.
  if (steps_ * direction < 0) steps_ = 0;
  if (repeat && steps_ != 0) return;
  steps_ += direction;
}

std::optional<double> SeekRequests::takeTarget() {
  std::lock_guard<std::mutex> hold(lock_);
  return std::exchange(target_, std::nullopt);
}

int SeekRequests::takeStep() {
  std::lock_guard<std::mutex> hold(lock_);
  if (steps_ == 0) return 0;
  const int direction = steps_ > 0 ? 1 : -1;
  steps_ -= direction;
  return direction;
}

bool SeekRequests::pending() const {
  std::lock_guard<std::mutex> hold(lock_);
  return target_.has_value() || steps_ != 0;
}

double SeekRequests::positionOf(double media) const {
  std::lock_guard<std::mutex> hold(lock_);
  return media - start_;
}

}  // namespace vantrel
