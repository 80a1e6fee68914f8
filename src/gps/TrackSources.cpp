#include "gps/TrackSources.h"

#include "gps/BlackVueTrack.h"
#include "gps/GarminTrack.h"
#include "gps/GoProTrack.h"
#include "gps/GpxTrack.h"
#include "gps/MovieTrack.h"
#include "gps/NmeaStreamTrack.h"
#include "gps/NmeaTrack.h"
#include "gps/NovatekTrack.h"
#include "gps/SeventyMaiTrack.h"
#include "gps/SidecarTrack.h"

namespace vantrel {

std::span<const TrackSource* const> trackSources() {
  static const TrackSource* const kSources[] = {
      &movieTrackSource(),       // a MOV's text stream in the sentence layout
      &sidecarTrackSource(),     // the sentence layout in NAME.TXT
      &novatekTrackSource(),     // "freeGPS " blocks indexed by moov/gps
      &goProTrackSource(),       // GPMF in a 'gpmd' stream
      &garminTrackSource(),      // PNDM records in a text stream
      &blackVueTrackSource(),    // NMEA lines and g-sensor in a top-level free box
      &nmeaStreamTrackSource(),  // NMEA in a text stream
      &nmeaTrackSource(),        // NMEA logs beside the recording
      &gpxTrackSource(),         // GPX beside the recording
      &seventyMaiTrackSource(),  // 70mai logs in the recording's folder
  };
  return kSources;
}

}  // namespace vantrel
