#pragma once
// The recording's GPS track, loaded on its own thread while the recording
// opens, and announced to the host (kSyncTrackLoaded) once: the window draws
// the route when it hears of it, and that must not hold back the first picture.
#include <thread>

#include "engine/PlaybackHost.h"

namespace vantrel {

class TrackLoadAhead {
 public:
  // Starts loading at once; no loader: nothing to load, only the announcement.
  TrackLoadAhead(PlayerState& state, PlaybackHost& host, const TrackLoader& load);
  ~TrackLoadAhead();
  TrackLoadAhead(const TrackLoadAhead&) = delete;
  TrackLoadAhead& operator=(const TrackLoadAhead&) = delete;

  // Waits for the load, then posts kSyncTrackLoaded; later calls do nothing.
  void announce();
  bool announced() const { return announced_; }

 private:
  PlaybackHost& host_;
  std::thread loading_;
  bool announced_ = false;
};

}  // namespace vantrel
