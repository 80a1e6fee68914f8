#pragma once
// The track of the recording being played. The playback thread's loader
// empties it and publishes the loaded track in one step; the UI thread takes
// a snapshot together with the generation, so a stale message never sees a
// half-filled track or the next recording's.
#include <cstdint>
#include <memory>
#include <mutex>

#include "gps/Track.h"

namespace vantrel {

class GpsTrack {
 public:
  // Empties the track and returns the generation a loader publishes under.
  uint64_t clear();
  // Replaces the track in one step, unless it was cleared again since
  // `since`: a loader that finishes late never fills the next playback's
  // track. Returns whether the track was taken.
  bool publish(uint64_t since, std::shared_ptr<const Track> track);
  // Never null: an empty track while none is loaded.
  std::shared_ptr<const Track> snapshot() const;
  size_t size() const;
  uint64_t generation() const;

 private:
  mutable std::mutex lock_;
  std::shared_ptr<const Track> track_ = std::make_shared<const Track>();  // guarded by lock_
  uint64_t generation_ = 0;  // bumped by clear(); guarded by lock_
};

}  // namespace vantrel
