#include <gtest/gtest.h>

#include "gps/DashboardRoute.h"
#include "gps/SentenceTracks.h"
#include "map/RouteCalls.h"

using namespace vantrel;

namespace {

// The route a track file of these sentences gives.
std::vector<RoutePoint> routeOf(const std::vector<std::string>& sentences) {
  return routePoints(testsupport::sentenceTrack(sentences));
}

// "name(arg,arg) mode" per call, mode as C, S or A.
std::vector<std::string> describe(const ScriptBatch& calls) {
  std::vector<std::string> lines;
  for (const ScriptCall& c : calls) {
    std::string line = c.name + "(";
    for (size_t i = 0; i < c.args.size(); ++i) line += (i ? "," : "") + c.args[i];
    line += ") ";
    line += c.mode == CallMode::Continue ? "C" : c.mode == CallMode::StopOnFailure ? "S" : "A";
    lines.push_back(line);
  }
  return lines;
}

const std::vector<std::string> kTrack = {
    "$GPRMC,A,073005.000,4807.0380,N,01131.0000,E,20.00,0.0,101226",
    "$GPRMC,A,073006.000,4807.0400,N,01131.0020,E,21.00,0.0,101226",
    "$GPRMC,A,073007.000,3352.1280,S,15112.5580,W,22.00,0.0,101226",
};

}  // namespace

TEST(RoutePoints, ValidEntriesInOrderWithTheirTrackIndex) {
  std::vector<std::string> track = kTrack;
  track.insert(track.begin() + 1, "$GPRMC,V,073005.500,,,,,0.00,0.0,101226");  // no fix
  track.push_back("$GPRMC,A,073008.000,4807.0380,n,01131.0000,e,20.00");       // lower case
  const std::vector<RoutePoint> route = routeOf(track);
  ASSERT_EQ(route.size(), 3u);
  EXPECT_EQ(route[0].examined, 0u);
  EXPECT_EQ(route[1].examined, 2u);
  EXPECT_EQ(route[2].examined, 3u);
  EXPECT_EQ(route[0].point, (MapPoint{"48.117300", "11.516667"}));
  EXPECT_EQ(route[2].point, (MapPoint{"-33.868800", "-151.209300"}));
  EXPECT_DOUBLE_EQ(route[2].latitudeDegrees, 33.8688);  // magnitudes for the distance
  EXPECT_DOUBLE_EQ(route[2].longitudeDegrees, 151.2093);
}

TEST(RoutePoints, TokensSkipEmptyFieldsSoAnEmptyFieldBeforeTheFixShiftsThem) {
  // Field 1 empty: token 4 is the longitude and token 6 the speed, so the
  // entry is not valid for the map walk although its fields are.
  EXPECT_TRUE(routeOf({"$GPRMC,,073005.000,4807.0380,N,01131.0000,E,20.00,0.0"}).empty());
}

TEST(RouteCalls, SmallMapStartsOnlyOnAValidFirstEntryAndPassesOverFailures) {
  EXPECT_EQ(describe(smallRouteBatch(routeOf(kTrack))),
            (std::vector<std::string>{
                "mapinitialize(48.117300,11.516667) C", "setStartPoint(48.117300,11.516667) A",
                "gotoNextPoint(48.117333,11.516700) C", "gotoNextPoint(-33.868800,-151.209300) C",
                "setEndPoint(-33.868800,-151.209300) C"}));
}

TEST(RouteCalls, FirstEntryWithoutAFixGetsNoMapInitialize) {
  std::vector<std::string> track = kTrack;
  track[0] = "$GPRMC,V,073005.000,,,,,0.00,0.0,101226";
  EXPECT_EQ(describe(smallRouteBatch(routeOf(track))),
            (std::vector<std::string>{"gotoNextPoint(48.117333,11.516700) C",
                                      "gotoNextPoint(-33.868800,-151.209300) C",
                                      "setEndPoint(-33.868800,-151.209300) C"}));
}

TEST(RouteCalls, TrackWithoutAValidEntrySendsOnlyAnEmptyEndPoint) {
  EXPECT_EQ(describe(smallRouteBatch({})), std::vector<std::string>{"setEndPoint(,) C"});
  EXPECT_EQ(describe(bigRouteBatch({})), std::vector<std::string>{"setEndPoint(,) C"});
}

TEST(RouteCalls, LargeMapStopsAtTheFirstFailureOfTheWalk) {
  EXPECT_EQ(describe(bigRouteBatch(routeOf(kTrack))),
            (std::vector<std::string>{
                "mapinitialize(48.117300,11.516667) S", "setStartPoint(48.117300,11.516667) S",
                "gotoNextPoint(48.117333,11.516700) S", "gotoNextPoint(-33.868800,-151.209300) S",
                "setEndPoint(-33.868800,-151.209300) C"}));
}

TEST(RouteCalls, RedrawClearsThenAddsEachPoint) {
  EXPECT_EQ(describe(redrawBatch({{"1", "2"}, {"3", "4"}})),
            (std::vector<std::string>{"clrRTploy() C", "setLineNewPoint(1,2) C",
                                      "setLineNewPoint(3,4) C"}));
  EXPECT_EQ(describe(redrawBatch({})), std::vector<std::string>{"clrRTploy() C"});
}
