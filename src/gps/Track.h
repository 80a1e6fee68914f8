#pragma once
// A loaded track: its fixes in file order, which source and file they came
// from and the unit the file wrote its speeds in. Speeds in the fixes are
// always km/h.
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "gps/GpsFix.h"

namespace vantrel {

enum class SpeedUnit { Kmh, Knots, MetresPerSecond, CentimetresPerSecond };

// "km/h", "knots", "m/s", "cm/s".
const char* speedUnitName(SpeedUnit unit);
// The factor that turns a speed in unit into km/h.
double kmhPer(SpeedUnit unit);

// What a source's fixes carry to place them in the recording. Neither: the
// fixes are spread over the recording one trackStep apart.
enum FixTiming : unsigned {
  kTimingStep = 0,
  kTimingUtc = 1,     // fixes carry their UTC time
  kTimingOffset = 2,  // fixes carry their offset into the recording
};

// A point of the route walk of a source whose walk reads its files
// differently from its fixes (the sentence layout walks non-empty tokens).
struct TrackRoutePosition {
  size_t index = 0;     // the fix the walk reached it at
  double latitude = 0;  // signed degrees, as the map draws them
  double longitude = 0;
  double distanceLatitude = 0;  // the coordinates the trip distance adds up
  double distanceLongitude = 0;
};

struct Track {
  std::vector<GpsFix> fixes;
  const char* source = "";  // the name of the source that read it
  std::string file;         // the file it was read from
  // The text stream of a movie, 255 for a file beside the recording, -1 when
  // no source gave the track.
  int streamIndex = -1;
  unsigned timing = kTimingStep;
  SpeedUnit recordedUnit = SpeedUnit::Kmh;
  // recordedUnit was found by comparing the speeds with the positions,
  // because the format does not fix it.
  bool unitFromCheck = false;
  // Set by sources whose route differs from their fixes; otherwise the route
  // is every fix on the map.
  std::optional<std::vector<TrackRoutePosition>> route;
};

// At least one fix may be drawn on the map.
bool hasFixOnMap(const Track& track);

}  // namespace vantrel
