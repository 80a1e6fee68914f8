#include "gps/DashboardRoute.h"

#include <algorithm>

#include "gps/Coordinates.h"

namespace vantrel {

namespace {

// A step of 100 m per second between two fixes is no jump (360 km/h).
constexpr double kLongestMetresPerSecond = 100;

MapPoint mapPoint(double latitude, double longitude) {
  return {formatDegrees(latitude), formatDegrees(longitude)};
}

std::vector<RoutePoint> walkedRoute(const std::vector<TrackRoutePosition>& walk) {
  std::vector<RoutePoint> route;
  route.reserve(walk.size());
  for (const TrackRoutePosition& p : walk) {
    route.push_back(
        {p.index, mapPoint(p.latitude, p.longitude), p.distanceLongitude, p.distanceLatitude});
  }
  return route;
}

// Milliseconds a fix sits at, from what the track's fixes carry.
int64_t timeOf(const GpsFix& fix, unsigned timing) {
  return (timing & kTimingOffset) ? fix.offsetMs : fix.utcMs;
}

}  // namespace

std::vector<RoutePoint> routePoints(const Track& track) {
  if (track.route) return walkedRoute(*track.route);
  std::vector<RoutePoint> route;
  const GpsFix* previous = nullptr;
  for (size_t i = 0; i < track.fixes.size(); ++i) {
    const GpsFix& fix = track.fixes[i];
    if (!fix.has(kFixOnMap)) continue;
    RoutePoint entry{i, mapPoint(fix.latitude, fix.longitude), fix.longitude, fix.latitude};
    if (previous && track.timing != kTimingStep) {
      const double seconds =
          static_cast<double>(timeOf(fix, track.timing) - timeOf(*previous, track.timing)) / 1000;
      entry.longestSegmentMetres = kLongestMetresPerSecond * std::max(1.0, seconds);
    }
    route.push_back(std::move(entry));
    previous = &fix;
  }
  return route;
}

std::optional<MapPoint> travelPoint(const GpsFix& fix) {
  if (!fix.has(kFixOnMap)) return std::nullopt;
  return mapPoint(fix.latitude, fix.longitude);
}

}  // namespace vantrel
