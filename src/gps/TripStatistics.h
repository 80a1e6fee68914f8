#pragma once
// Trip statistics of the loaded track: speeds in km/h, distances in metres,
// as 32-bit floats. Built once per track by the route walk; the speeds are
// then kept by the dashboard as it shows each sentence.
namespace vantrel {

struct TripStatistics {
  float currentSpeed = 0;  // speed of the last sentence shown
  float maxSpeed = 0;      // highest accepted speed since the route was built
  float averageSpeed = 0;  // trip distance over the recording's duration
  float totalDistance = 0;
  // Used only while the distance is built: the last accepted segment in whole
  // metres, and the previous point's longitude and latitude magnitudes.
  int lastSegmentMetres = 0;
  double previousLongitude = 0;
  double previousLatitude = 0;
};

// Everything back to 0, the previous point to (0, 0).
void resetTripStatistics(TripStatistics& trip);

// Adds the point (in degrees) to the trip distance. first: the walk examined
// no entry before this one. A jump of longestSegment metres or more between
// two points counts as the last accepted segment again instead of its length.
void addTripPoint(TripStatistics& trip, double longitude, double latitude, bool first,
                  double longestSegment = 100);

// Haversine distance on a sphere of radius 6378137 m, with pi taken as its
// single-precision value (3.1415927410125732).
double gpsDistanceMetres(double longitude1, double latitude1, double longitude2, double latitude2);

}  // namespace vantrel
