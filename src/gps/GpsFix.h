#pragma once
// One fix of a track, whichever file it came from: where and when the vehicle
// was and how fast it went. Flags say which members hold something; sources
// fill what their format carries and leave the rest unset.
#include <cstdint>

namespace vantrel {

enum GpsFixFlag : uint16_t {
  kFixUtc = 1 << 0,       // utcMs holds the UTC date and time
  kFixOffset = 1 << 1,    // offsetMs holds the fix's position in the recording
  kFixClock = 1 << 2,     // clock holds a time of day written without a date
  kFixPosition = 1 << 3,  // latitude, longitude and speed are shown on the readouts
  kFixOnMap = 1 << 4,     // the position may be drawn on the map
  // The hemisphere the file named. The readouts show the magnitude the file
  // wrote, so a malformed "-4807.038,S" reads back as written.
  kFixSouth = 1 << 5,
  kFixWest = 1 << 6,
  kFixAltitude = 1 << 7,
  kFixHeading = 1 << 8,
  kFixQuality = 1 << 9,
  kFixGsensor = 1 << 10,
  kFixSpeedDerived = 1 << 11,  // the file gave no speed: worked out from the positions
};

struct GpsFix {
  int64_t utcMs = 0;     // milliseconds since 1970-01-01 00:00 UTC
  int64_t offsetMs = 0;  // milliseconds from the start of the recording
  double latitude = 0;   // degrees, negative south
  double longitude = 0;  // degrees, negative west
  float speedKmh = 0;
  float altitude = 0;     // metres above mean sea level
  float heading = 0;      // degrees clockwise from true north
  float gsensor[3] = {};  // x, y, z in g
  int32_t clock = 0;      // hhmmss, as the file wrote it
  uint16_t flags = 0;
  uint8_t quality = 0;  // 1 GPS, 2 differential, ... as NMEA numbers them

  bool has(uint16_t flag) const { return (flags & flag) == flag; }
};

// A drawable position in signed degrees: sets the position flags and the
// hemispheres from the signs.
void setFixPosition(GpsFix& fix, double latitude, double longitude);

// The magnitudes the readouts show: the degrees as the file wrote them,
// without the hemisphere.
double readoutLatitude(const GpsFix& fix);
double readoutLongitude(const GpsFix& fix);

// The time of day shown, as hhmmss: from the UTC time when known, else the
// clock the file wrote, else 0.
int32_t fixClock(const GpsFix& fix);

}  // namespace vantrel
