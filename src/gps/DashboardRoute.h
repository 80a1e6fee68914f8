#pragma once
// The points of a track as the maps take them: texts in decimal degrees made
// by formatCoordinate (six decimals, a minus sign for south or west).
#include <optional>
#include <string>
#include <vector>

#include "gps/GpsFields.h"

namespace vantrel {

struct MapPoint {
  std::string latitude;
  std::string longitude;
  bool operator==(const MapPoint&) const = default;
};

// One track entry on the route. The walk reads entries by their non-empty
// tokens; entries whose tokens 4 and 6 are no hemisphere letters are skipped
// but counted, so examined == 0 only for a valid very first entry.
struct RoutePoint {
  size_t examined = 0;  // index of the entry in the track
  MapPoint point;
  double longitudeDegrees = 0;  // magnitudes, hemisphere not applied
  double latitudeDegrees = 0;
};

// The route of a whole track, in track order.
std::vector<RoutePoint> routePoints(const std::vector<std::string>& track);

// The map point of a split sentence, when its hemisphere fields make it
// valid for the map.
std::optional<MapPoint> travelPoint(const GpsFields& fields);

// The travel point of each entry (nullopt for rejected or invalid ones), so
// a redraw does not split the track again.
std::vector<std::optional<MapPoint>> travelPoints(const std::vector<std::string>& track);

}  // namespace vantrel
