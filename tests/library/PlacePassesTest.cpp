#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "library/LibraryRecords.h"
#include "library/PlacePasses.h"

using namespace vantrel;
using testsupport::straightTrack;

namespace {

constexpr double kMetresPerDegree = 111195.0;  // along a meridian

}  // namespace

TEST(PlacePasses, PiecesShareTheirBoundaryPoints) {
  struct Case {
    int points;
    std::vector<std::pair<size_t, size_t>> pieces;
  };
  const Case cases[] = {
      {0, {}},
      {1, {{0, 0}}},
      {16, {{0, 15}}},
      {17, {{0, 16}}},
      {33, {{0, 16}, {16, 32}}},
      {34, {{0, 16}, {16, 32}, {32, 33}}},
  };
  for (const Case& c : cases) {
    const std::vector<ClipPoint> points = straightTrack(10, 20, c.points, 5, 18);
    const std::vector<TrackPiece> pieces = trackPieces(points);
    ASSERT_EQ(pieces.size(), c.pieces.size()) << c.points;
    for (size_t k = 0; k < pieces.size(); ++k) {
      EXPECT_EQ(pieces[k].first, c.pieces[k].first) << c.points;
      EXPECT_EQ(pieces[k].last, c.pieces[k].second) << c.points;
      EXPECT_EQ(pieces[k].box.minLatitude, points[pieces[k].first].latitude);
      EXPECT_EQ(pieces[k].box.maxLatitude, points[pieces[k].last].latitude);
    }
  }
}

TEST(PlacePasses, BoxHoldsTheCircle) {
  const PlaceBox box = boxAround(60, 10, 50);
  EXPECT_NEAR((box.maxLatitude - box.minLatitude) / 2 * kMetresPerDegree, 50, 0.1);
  // At 60 degrees north a degree of longitude is half as long.
  EXPECT_NEAR((box.maxLongitude - box.minLongitude) / 2 * kMetresPerDegree, 100, 0.2);
}

TEST(PlacePasses, EachStretchWithinTheRadiusIsOnePass) {
  // North at 10 m/s for 60 s from (48, 11); then the same road back south.
  std::vector<ClipPoint> there = straightTrack(48, 11, 60, 10, 36);
  std::vector<ClipPoint> back = there;
  for (size_t i = 0; i < back.size(); ++i) {
    back[i] = there[there.size() - 1 - i];
    back[i].offsetMs = 60'000 + static_cast<int64_t>(i) * 1000;
  }
  std::vector<ClipPoint> uTurn = there;
  uTurn.insert(uTurn.end(), back.begin(), back.end());
  const double at205m = 48 + 205 / kMetresPerDegree;  // between the points of 20 s and 21 s
  struct Case {
    const char* what;
    std::vector<ClipPoint> track;
    double latitude;
    double eastMetres;
    std::vector<int64_t> offsets;  // of the passes
  };
  const Case cases[] = {
      {"beside the road", there, at205m, 30, {20'500}},
      {"just outside the radius", there, at205m, 50.5, {}},
      {"on the road, there and back", uTurn, at205m, 0, {20'500, 98'500}},
      {"beyond the end", there, 48 + 700 / kMetresPerDegree, 0, {}},
      {"a one-point track", {there[0]}, 48, 20, {0}},
      {"no track", {}, 48, 0, {}},
  };
  for (const Case& c : cases) {
    const double longitude =
        11 + c.eastMetres / (kMetresPerDegree * std::cos(c.latitude * std::numbers::pi / 180));
    const std::vector<PlacePass> passes = passesNear(c.track, c.latitude, longitude, 50);
    ASSERT_EQ(passes.size(), c.offsets.size()) << c.what;
    for (size_t i = 0; i < passes.size(); ++i) {
      EXPECT_NEAR(passes[i].offsetMs, c.offsets[i], 30) << c.what;
      EXPECT_NEAR(passes[i].distanceMetres, c.eastMetres, 0.5) << c.what;
    }
  }
}
