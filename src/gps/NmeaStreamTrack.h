#pragma once
// Standard NMEA kept in a text stream of the recording (Thinkware, some
// Nextbase and others): one or more sentences per sample, with or without
// their '$', on lines or joined by ';' as one family writes them
// ("gsensori,...;GNRMC,...*cs;CAR,..."). RMC and GGA are read as in an NMEA
// log (NmeaFixes.h); each fix sits at the time of its sample.
#include <cstdint>
#include <span>
#include <string>

#include "gps/EmbeddedTrackSource.h"

namespace vantrel {

// The sentences of one text sample (its 2-byte length, then the text), each
// starting with '$' and ending with a line feed.
std::string nmeaOfTextSample(std::span<const uint8_t> sample);

const EmbeddedTrackSource& nmeaStreamTrackSource();

}  // namespace vantrel
