#pragma once
// What the tracks of a recording hold, read from the movie box alone: each
// track's handler ('vide', 'soun', 'sbtl', 'text', 'meta', ...) and the type
// of its first sample description ('avc1', 'tx3g', 'gpmd', ...). A source
// looks here before it hands the file to libavformat, so a recording without
// its kind of track costs a few small reads.
#include <cstdint>
#include <vector>

#include "gps/MediaBytes.h"

namespace vantrel {

struct SampleEntry {
  uint32_t handler = 0;
  uint32_t format = 0;
};

// In track order; empty when the file has no readable movie box.
std::vector<SampleEntry> sampleEntries(MediaBytes& bytes);

// Whether any track's first sample description is of type format.
bool hasSampleEntry(MediaBytes& bytes, uint32_t format);

// Whether any track is a text (subtitle) track.
bool hasTextTrack(MediaBytes& bytes);

}  // namespace vantrel
