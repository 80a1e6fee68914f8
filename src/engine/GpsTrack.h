#pragma once
// The GPS sentences of the recording being played, in the order read.
// The playback thread fills it between playerStateInit and posting sync code 0;
// the UI thread reads it. The loaders gather a whole track first and publish
// it in one step, and readers take a snapshot under the lock together with the
// generation, so a stale message never sees a half-filled track.
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

namespace vantrel {

class GpsTrack {
 public:
  void clear() {
    std::lock_guard<std::mutex> hold(lock_);
    entries_.clear();
    ++generation_;
  }
  void append(std::string sentence) {
    std::lock_guard<std::mutex> hold(lock_);
    entries_.push_back(std::move(sentence));
  }
  // Replaces the entries in one step, unless the track was cleared since
  // `since` was read from generation(): a reader sees the track empty or
  // whole, never half-filled, and a loader that finishes late never fills the
  // next playback's track. Returns whether the entries were taken.
  bool publish(uint64_t since, std::vector<std::string> entries) {
    std::lock_guard<std::mutex> hold(lock_);
    if (since != generation_) return false;
    entries_ = std::move(entries);
    return true;
  }
  std::vector<std::string> snapshot() const {
    std::lock_guard<std::mutex> hold(lock_);
    return entries_;
  }
  size_t size() const {
    std::lock_guard<std::mutex> hold(lock_);
    return entries_.size();
  }
  uint64_t generation() const {
    std::lock_guard<std::mutex> hold(lock_);
    return generation_;
  }

 private:
  mutable std::mutex lock_;
  std::vector<std::string> entries_;  // guarded by lock_
  uint64_t generation_ = 0;           // bumped by clear(); guarded by lock_
};

}  // namespace vantrel
