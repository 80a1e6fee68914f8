#include "gps/TrackSources.h"

#include "gps/MovieTrack.h"
#include "gps/SidecarTrack.h"

namespace vantrel {

std::span<const TrackSource* const> trackSources() {
  static const TrackSource* const kSources[] = {
      &movieTrackSource(),
      &sidecarTrackSource(),
  };
  return kSources;
}

}  // namespace vantrel
