#pragma once
// The GPS fixes in one sample of a GoPro GPMF stream. GPMF is nested
// key-length-value data, big-endian and 4-byte aligned: a FourCC, a type
// letter, the size of one sample and a repeat count, then the values. A
// device (DEVC) holds streams (STRM); in a stream, SCAL (divisors), TYPE
// (the letters of a structure), GPSU (UTC time), GPSF (fix: 0 none) and
// GPSP (precision) describe the GPS5 or GPS9 samples that follow them.
//   GPS5: latitude, longitude, altitude, 2D speed, 3D speed (m/s)
//   GPS9: the same, then days since 2000, seconds since midnight,
//         precision and fix (0 none, 2 or 3 dimensions)
// The GPS5 samples of a payload are spread evenly over its duration from
// the time GPSU gives; GPS9 samples carry their own time and are taken when
// a payload has both.
#include <cstdint>
#include <span>
#include <vector>

#include "gps/GpsFix.h"

namespace vantrel {

// Appends the fixes of payload, a sample starting startMs into the
// recording and lasting durationMs, to fixes; fixes without a position
// (fix 0, no lock) are left out. False when payload is not GPMF: some
// cameras use the 'gpmd' tag for other data.
bool decodeGpmfPayload(std::span<const uint8_t> payload, int64_t startMs, int64_t durationMs,
                       std::vector<GpsFix>& fixes);

}  // namespace vantrel
