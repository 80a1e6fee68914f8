#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "gps/TripStatistics.h"

using namespace vantrel;

TEST(GpsDistance, HaversineOnTheSphereWithSinglePrecisionPi) {
  // One degree of latitude: R * pi / 180 with pi = 3.1415927410125732.
  EXPECT_NEAR(gpsDistanceMetres(11.0, 48.0, 11.0, 49.0), 111319.49389102061, 1e-6);
  EXPECT_NEAR(gpsDistanceMetres(11.0, 48.0, 11.0, 48.0004), 44.527797556408245, 1e-9);
  EXPECT_EQ(gpsDistanceMetres(11.5, 48.1, 11.5, 48.1), 0.0);
  // Symmetric, and longitude shrinks with the cosine of the latitude.
  EXPECT_DOUBLE_EQ(gpsDistanceMetres(0, 60, 1, 60), gpsDistanceMetres(1, 60, 0, 60));
  EXPECT_NEAR(gpsDistanceMetres(0, 60, 1, 60), 111319.49 / 2, 30);
}

TEST(TripDistance, ShortSegmentsAddUpAndJumpsRepeatTheLastSegment) {
  TripStatistics trip;
  resetTripStatistics(trip);
  addTripPoint(trip, 11.0, 48.0, true);  // the first point measures nothing
  EXPECT_EQ(trip.totalDistance, 0.0f);
  addTripPoint(trip, 11.0, 48.0004, false);  // 44.53 m
  EXPECT_FLOAT_EQ(trip.totalDistance, 44.527797f);
  EXPECT_EQ(trip.lastSegmentMetres, 44);
  addTripPoint(trip, 11.0, 48.0104, false);  // 1.1 km away: counts as 44 m
  EXPECT_FLOAT_EQ(trip.totalDistance, 44.527797f + 44);
  EXPECT_EQ(trip.lastSegmentMetres, 44);
  addTripPoint(trip, 11.0, 48.0108, false);  // measured from the far point
  EXPECT_FLOAT_EQ(trip.totalDistance, 44.527797f + 44 + 44.527797f);
}

TEST(TripDistance, FirstValidPointAfterInvalidOnesIsMeasuredFromTheOrigin) {
  TripStatistics trip;
  addTripPoint(trip, 11.0, 48.0, false);  // thousands of km from (0, 0)
  EXPECT_EQ(trip.totalDistance, 0.0f);    // a jump with no segment yet adds 0
  addTripPoint(trip, 11.0, 48.0004, false);
  EXPECT_FLOAT_EQ(trip.totalDistance, 44.527797f);
}

TEST(TripDistance, ResetClearsEverything) {
  TripStatistics trip{10, 20, 30, 40, 5, 1, 2};
  resetTripStatistics(trip);
  EXPECT_EQ(trip.currentSpeed, 0);
  EXPECT_EQ(trip.maxSpeed, 0);
  EXPECT_EQ(trip.averageSpeed, 0);
  EXPECT_EQ(trip.totalDistance, 0);
  EXPECT_EQ(trip.lastSegmentMetres, 0);
  EXPECT_EQ(trip.previousLongitude, 0);
  EXPECT_EQ(trip.previousLatitude, 0);
}

TEST(TripDistance, GarbageCoordinatesNeverCorruptTheTotal) {
  TripStatistics trip;
  addTripPoint(trip, 11.0, 48.0, true);
  addTripPoint(trip, 1e20, -1e20, false);
  addTripPoint(trip, std::numeric_limits<double>::quiet_NaN(), 48.0, false);
  EXPECT_TRUE(std::isfinite(trip.totalDistance));
  EXPECT_GE(trip.totalDistance, 0.0f);
}
