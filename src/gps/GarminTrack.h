#pragma once
// The GPS track of Garmin dash cams: a text stream whose samples hold a
// binary record after the text length, starting "PNDM". Big-endian, from the
// record's start: at 8 the speed in mph (u16), at 12 and 16 latitude and
// longitude in semicircles (s32, 2^31 = 180 degrees). The record has no
// time: a fix sits at its sample's time.
#include <cstdint>
#include <span>

#include "gps/EmbeddedTrackSource.h"
#include "gps/GpsFix.h"

namespace vantrel {

// The fix of one text sample (its 2-byte length, then the record); false for
// a sample that holds no PNDM record or no position.
bool decodePndmSample(std::span<const uint8_t> sample, GpsFix& fix);

const EmbeddedTrackSource& garminTrackSource();

}  // namespace vantrel
