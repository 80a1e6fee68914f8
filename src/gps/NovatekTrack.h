#pragma once
// The GPS track of dashcams built on Novatek chips (Viofo, Vantrue, Rove,
// Kingslim, Rexing, Azdome, many unbranded): one `free` box a second inside
// the media data, starting "freeGPS ", found through the `gps ` box of the
// movie box, which lists each block's offset and size. A recording cut off
// before its movie box was written is searched for the blocks instead.
//
// The record of a block, from the block's start: at 48 six little-endian
// u32 (hour, minute, second, year - 2000, month, day; UTC), at 72 the
// letters status ('A' valid), N/S and E/W, at 76 little-endian floats:
// latitude and longitude as ddmm.mmmm, speed in knots, heading.
#include <cstdint>
#include <span>

#include "gps/EmbeddedTrackSource.h"
#include "gps/GpsFix.h"

namespace vantrel {

// Bytes of a block the record needs.
constexpr size_t kNovatekRecordBytes = 92;

// The fix of a block that starts at block[0]; false for a block that is not
// "freeGPS ", is too short, or holds no valid position.
bool decodeNovatekBlock(std::span<const uint8_t> block, GpsFix& fix);

// Fixes placed one second apart in block order, with their UTC time.
const EmbeddedTrackSource& novatekTrackSource();

}  // namespace vantrel
