#include "gps/TripStatistics.h"

#include <cmath>

namespace vantrel {

namespace {
constexpr double kPi = static_cast<double>(3.14159265358979323846f);
constexpr double kEarthRadiusMetres = 6378137.0;

double radians(double degrees) {
  return degrees * kPi / 180;
}
}  // namespace

void resetTripStatistics(TripStatistics& trip) {
  trip = TripStatistics{};
}

void addTripPoint(TripStatistics& trip, double longitude, double latitude, bool first,
                  double longestSegment) {
  if (!first) {
    double d =
        gpsDistanceMetres(trip.previousLongitude, trip.previousLatitude, longitude, latitude);
    if (d < longestSegment) {
      trip.totalDistance += static_cast<float>(d);
      trip.lastSegmentMetres = static_cast<int>(d);
    } else {
      trip.totalDistance += static_cast<float>(trip.lastSegmentMetres);
    }
  }
  trip.previousLongitude = longitude;
  trip.previousLatitude = latitude;
}

double gpsDistanceMetres(double longitude1, double latitude1, double longitude2, double latitude2) {
  const double lat1 = radians(latitude1), lat2 = radians(latitude2);
  const double dLat = lat1 - lat2;
  const double dLon = radians(longitude1) - radians(longitude2);
  const double a = std::pow(std::sin(dLat / 2), 2) +
                   std::cos(lat1) * std::cos(lat2) * std::pow(std::sin(dLon / 2), 2);
  return 2 * std::asin(std::sqrt(a)) * kEarthRadiusMetres;
}

}  // namespace vantrel
