#include "gps/GpsTrack.h"

namespace vantrel {

// The replaced track is released after the lock: a long track takes a while
// to free, and the other thread need not wait for that.
uint64_t GpsTrack::clear() {
  std::shared_ptr<const Track> replaced = std::make_shared<const Track>();
  std::lock_guard<std::mutex> hold(lock_);
  track_.swap(replaced);
  return ++generation_;
}

bool GpsTrack::publish(uint64_t since, std::shared_ptr<const Track> track) {
  if (!track) return false;
  std::lock_guard<std::mutex> hold(lock_);
  if (since != generation_) return false;
  track_.swap(track);
  return true;
}

std::shared_ptr<const Track> GpsTrack::snapshot() const {
  std::lock_guard<std::mutex> hold(lock_);
  return track_;
}

size_t GpsTrack::size() const {
  std::lock_guard<std::mutex> hold(lock_);
  return track_->fixes.size();
}

uint64_t GpsTrack::generation() const {
  std::lock_guard<std::mutex> hold(lock_);
  return generation_;
}

}  // namespace vantrel
