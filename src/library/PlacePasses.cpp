#include "library/PlacePasses.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <optional>

namespace vantrel {

namespace {

constexpr double kEarthRadiusMetres = 6371008.8;
constexpr double kMetresPerDegree = kEarthRadiusMetres * std::numbers::pi / 180;

// Metres east and north of an origin, on a plane that touches the sphere
// there: exact enough within a few kilometres.
struct LocalPlane {
  double latitude;
  double longitude;
  double eastScale;

  LocalPlane(double lat, double lon)
      : latitude(lat), longitude(lon), eastScale(std::cos(lat * std::numbers::pi / 180)) {}
  double east(const ClipPoint& p) const {
    return (p.longitude - longitude) * kMetresPerDegree * eastScale;
  }
  double north(const ClipPoint& p) const { return (p.latitude - latitude) * kMetresPerDegree; }
};

struct Closest {
  double distance;
  double along;  // 0 at the segment's start, 1 at its end
};

// The point of segment a-b nearest the plane's origin.
Closest closestOnSegment(const LocalPlane& plane, const ClipPoint& a, const ClipPoint& b) {
  const double ax = plane.east(a), ay = plane.north(a);
  const double dx = plane.east(b) - ax, dy = plane.north(b) - ay;
  const double length2 = dx * dx + dy * dy;
  const double t = length2 > 0 ? std::clamp(-(ax * dx + ay * dy) / length2, 0.0, 1.0) : 0.0;
  return {std::hypot(ax + t * dx, ay + t * dy), t};
}

}  // namespace

std::vector<TrackPiece> trackPieces(const std::vector<ClipPoint>& points) {
  std::vector<TrackPiece> pieces;
  for (size_t first = 0; first < points.size(); first += kPiecePoints) {
    const size_t last = std::min(first + kPiecePoints, points.size() - 1);
    TrackPiece piece{first,
                     last,
                     {points[first].latitude, points[first].latitude, points[first].longitude,
                      points[first].longitude}};
    for (size_t i = first + 1; i <= last; ++i) {
      piece.box.minLatitude = std::min(piece.box.minLatitude, points[i].latitude);
      piece.box.maxLatitude = std::max(piece.box.maxLatitude, points[i].latitude);
      piece.box.minLongitude = std::min(piece.box.minLongitude, points[i].longitude);
      piece.box.maxLongitude = std::max(piece.box.maxLongitude, points[i].longitude);
    }
    pieces.push_back(piece);
    if (last == points.size() - 1) break;
  }
  return pieces;
}

PlaceBox boxAround(double latitude, double longitude, double radiusMetres) {
  const double dLatitude = radiusMetres / kMetresPerDegree;
  const double cosine = std::cos(latitude * std::numbers::pi / 180);
  const double dLongitude = cosine > 1e-6 ? dLatitude / cosine : 360;
  return {latitude - dLatitude, latitude + dLatitude, longitude - dLongitude,
          longitude + dLongitude};
}

std::vector<PlacePass> passesNear(const std::vector<ClipPoint>& points, double latitude,
                                  double longitude, double radiusMetres) {
  std::vector<PlacePass> passes;
  if (points.empty()) return passes;
  const LocalPlane plane(latitude, longitude);
  std::optional<PlacePass> open;  // the pass the track is in
  const size_t segments = std::max<size_t>(points.size() - 1, 1);
  for (size_t i = 0; i < segments; ++i) {
    const ClipPoint& a = points[i];
    const ClipPoint& b = points[std::min(i + 1, points.size() - 1)];
    const Closest closest = closestOnSegment(plane, a, b);
    if (closest.distance > radiusMetres) {
      if (open) passes.push_back(*open);
      open.reset();
      continue;
    }
    const auto offset = static_cast<int64_t>(
        std::llround(static_cast<double>(a.offsetMs) +
                     closest.along * static_cast<double>(b.offsetMs - a.offsetMs)));
    if (!open || closest.distance < open->distanceMetres)
      open = PlacePass{offset, closest.distance};
  }
  if (open) passes.push_back(*open);
  return passes;
}

}  // namespace vantrel
