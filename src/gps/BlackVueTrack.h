#pragma once
// The GPS track of BlackVue dashcams: a top-level `free` box that holds boxes
// of its own. `gps ` holds NMEA lines, each led by the time it was written
// in Unix milliseconds ("[1715931005000]$GPRMC,..."); `3gf ` the g-sensor,
// 10-byte big-endian records (u32 milliseconds into the recording, s16 x, y,
// z in tenths of g) up to a time of 0xFFFFFFFF. A fix sits at its line's
// time counted from the first line, with the g-sensor record of that moment.
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "gps/EmbeddedTrackSource.h"
#include "gps/GpsFix.h"

namespace vantrel {

struct GsensorRecord {
  int64_t ms = 0;  // into the recording
  float g[3] = {};
};

// The fixes of a `gps ` box's payload, appended to fixes.
void readBlackVueGps(std::string_view lines, std::vector<GpsFix>& fixes);

// The records of a `3gf ` box's payload, in time order.
std::vector<GsensorRecord> readBlackVueGsensor(std::span<const uint8_t> records);

// Gives each placed fix the values of the last record at or before it.
void attachGsensor(const std::vector<GsensorRecord>& records, std::vector<GpsFix>& fixes);

const EmbeddedTrackSource& blackVueTrackSource();

}  // namespace vantrel
