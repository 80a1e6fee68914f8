#pragma once
// Standard NMEA 0183 logs: one fix per valid RMC sentence of any talker
// ($GPRMC, $GNRMC, ...), UTC from its time and date, speed in knots; the
// altitude and fix quality from the GGA sentence of the same time; the
// g-sensor values of a dashcam's "$GSENSORD,x,y,z" line for the fix after it.
#include <string_view>

#include "gps/TrackSource.h"

namespace vantrel {

// What a file's first RMC sentences say about its layout.
enum class TrackText {
  Nmea,       // time in field 1, a status letter in field 2: standard NMEA
  Sentences,  // time in field 2: the sentence layout (SentenceTrack.h)
  Other,      // no RMC sentence, and nothing else NMEA either
};

// Judged from the start of a file (UTF-16 included). Without an RMC sentence
// in it, a sentence with a valid checksum or a g-sensor line still makes it
// NMEA.
TrackText classifyTrackText(std::string_view head);

const StreamTrackSource& nmeaTrackSource();

}  // namespace vantrel
