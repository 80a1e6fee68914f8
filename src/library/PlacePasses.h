#pragma once
// Where a track passes a place: the pieces a track is cut into for a spatial
// index (a box around every few points), and the passes of a track within a
// distance of a point, each with the moment it came closest.
#include <cstdint>
#include <vector>

#include "library/ClipRecord.h"

namespace vantrel {

// Points per piece; consecutive pieces share their boundary point, so every
// segment of the track lies within one piece's box.
constexpr size_t kPiecePoints = 16;

struct PlaceBox {
  double minLatitude = 0;
  double maxLatitude = 0;
  double minLongitude = 0;
  double maxLongitude = 0;
};

struct TrackPiece {
  size_t first = 0;  // points first..last, inclusive
  size_t last = 0;
  PlaceBox box;
};

std::vector<TrackPiece> trackPieces(const std::vector<ClipPoint>& points);

// The box that holds every point within radiusMetres of (latitude, longitude).
PlaceBox boxAround(double latitude, double longitude, double radiusMetres);

struct PlacePass {
  int64_t offsetMs = 0;       // when the track came closest, into the recording
  double distanceMetres = 0;  // how close
};

// Each stretch of the track (its segments, or its only point) that comes
// within radiusMetres of the point gives one pass, in track order.
std::vector<PlacePass> passesNear(const std::vector<ClipPoint>& points, double latitude,
                                  double longitude, double radiusMetres);

}  // namespace vantrel
