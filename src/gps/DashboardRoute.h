#pragma once
// The points of a track as the maps take them: texts in decimal degrees made
// by formatDegrees (six decimals, a minus sign for south or west).
#include <optional>
#include <string>
#include <vector>

#include "gps/Track.h"

namespace vantrel {

struct MapPoint {
  std::string latitude;
  std::string longitude;
  bool operator==(const MapPoint&) const = default;
};

// One point of the route walk. examined == 0 only when the track's very
// first entry is on the route: the maps start the route there.
struct RoutePoint {
  size_t examined = 0;  // index of the fix in the track
  MapPoint point;
  // The coordinates the trip distance adds up: the magnitudes, hemisphere
  // not applied, for the sentence layout; signed degrees otherwise.
  double longitudeDegrees = 0;
  double latitudeDegrees = 0;
  // A step from the previous point at least this long counts as a jump.
  double longestSegmentMetres = 100;
};

// The route of a whole track, in track order: the track's own route walk
// when its source has one, else every fix on the map.
std::vector<RoutePoint> routePoints(const Track& track);

// The map point of a fix that may be drawn.
std::optional<MapPoint> travelPoint(const GpsFix& fix);

}  // namespace vantrel
