#include "gps/DashboardRoute.h"

#include <cstdlib>

#include "gps/Coordinates.h"
#include "gps/GpsTokens.h"

namespace vantrel {

namespace {

bool startsWithEither(const GpsTokens& tokens, int k, char a, char b) {
  return k < tokens.count && (tokens[k][0] == a || tokens[k][0] == b);
}

MapPoint mapPoint(double latitude, char latHemisphere, double longitude, char lonHemisphere) {
  return {formatCoordinate(latitude, latHemisphere), formatCoordinate(longitude, lonHemisphere)};
}

}  // namespace

std::vector<RoutePoint> routePoints(const std::vector<std::string>& track) {
  std::vector<RoutePoint> route;
  GpsTokens tokens;
  for (size_t n = 0; n < track.size(); ++n) {
    tokenizeGpsSentence(track[n], tokens);
    if (!startsWithEither(tokens, 4, 'N', 'S') || !startsWithEither(tokens, 6, 'W', 'E')) continue;
    RoutePoint entry;
    entry.examined = n;
    entry.latitudeDegrees = nmeaToDegrees(std::atof(tokens[3]));
    entry.longitudeDegrees = nmeaToDegrees(std::atof(tokens[5]));
    entry.point =
        mapPoint(entry.latitudeDegrees, tokens[4][0], entry.longitudeDegrees, tokens[6][0]);
    route.push_back(std::move(entry));
  }
  return route;
}

std::optional<MapPoint> travelPoint(const GpsFields& fields) {
  if (!isValidForMap(fields)) return std::nullopt;
  return mapPoint(nmeaToDegrees(std::atof(fields[3])), fields[4][0],
                  nmeaToDegrees(std::atof(fields[5])), fields[6][0]);
}

std::vector<std::optional<MapPoint>> travelPoints(const std::vector<std::string>& track) {
  std::vector<std::optional<MapPoint>> points;
  points.reserve(track.size());
  GpsFields fields;
  for (const std::string& sentence : track) {
    points.push_back(splitGpsSentence(sentence, fields) == 0 ? travelPoint(fields) : std::nullopt);
  }
  return points;
}

}  // namespace vantrel
