#include "gps/TrackSources.h"

#include "gps/GarminTrack.h"
#include "gps/GoProTrack.h"
#include "gps/GpxTrack.h"
#include "gps/MovieTrack.h"
#include "gps/NmeaTrack.h"
#include "gps/NovatekTrack.h"
#include "gps/SeventyMaiTrack.h"
#include "gps/SidecarTrack.h"

namespace vantrel {

std::span<const TrackSource* const> trackSources() {
  static const TrackSource* const kSources[] = {
      &movieTrackSource(),   &sidecarTrackSource(), &novatekTrackSource(),
      &goProTrackSource(),   &garminTrackSource(),  &nmeaTrackSource(),
      &gpxTrackSource(),     &seventyMaiTrackSource(),
  };
  return kSources;
}

}  // namespace vantrel
