#include "engine/TrackLoadAhead.h"

#include "engine/ThreadName.h"

namespace vantrel {

TrackLoadAhead::TrackLoadAhead(PlayerState& state, PlaybackHost& host, const TrackLoader& load)
    : host_(host) {
  if (!load) return;
  loading_ = std::thread([&state, &load] {
    setCurrentThreadName("track");
    load(state);
  });
}

TrackLoadAhead::~TrackLoadAhead() {
  if (loading_.joinable()) loading_.join();
}

void TrackLoadAhead::announce() {
  if (announced_) return;
  if (loading_.joinable()) loading_.join();
  host_.postGpsSync(kSyncTrackLoaded, 0);
  announced_ = true;
}

}  // namespace vantrel
