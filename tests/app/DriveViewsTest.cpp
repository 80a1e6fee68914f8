#include <gtest/gtest.h>

#include <cmath>

#include "app/DriveViews.h"
#include "app/LanguageTable.h"
#include "library/CivilTime.h"
#include "library/LibraryRecords.h"

using namespace vantrel;
using testsupport::clipRecord;
using testsupport::straightTrack;

namespace {

// A drive of three clips of 10 s named a quarter past eight (local time):
// the first with altitude and g-sensor readings, the second without a track.
struct SampleDrive {
  std::vector<ClipRecord> clips;
  Drive drive;
};

SampleDrive sampleDrive() {
  SampleDrive sample;
  std::vector<ClipPoint> first = straightTrack(48.1, 11.5, 10, 10, 36);
  for (ClipPoint& p : first) {
    p.altitude = 500;
    p.gsensor[2] = 1;
    p.flags = kPointAltitude | kPointGsensor;
  }
  sample.clips = {clipRecord("/c/20240501_081500.mp4", 10'000, 0, first),
                  clipRecord("/c/20240501_081510.mp4", 10'000),
                  clipRecord("/c/20240501_081520.mp4", 10'000, 0,
                             straightTrack(48.1 + 200 / 111195.0, 11.5, 10, 10, 90))};
  sample.drive = groupDrives(sample.clips).at(0);
  return sample;
}

}  // namespace

TEST(DriveViews, RowsFollowTheSpeedUnitAndTheLocalClock) {
  testsupport::ScopedTimeZone central("CET-1CEST,M3.5.0,M10.5.0/3");
  const SampleDrive sample = sampleDrive();
  const DriveRow kmh = driveRow(sample.drive, 0), mph = driveRow(sample.drive, 1);
  EXPECT_EQ(kmh.date, "2024-05-01");
  EXPECT_EQ(kmh.span, "08:15\u201308:15");
  EXPECT_EQ(kmh.clips, "3");
  EXPECT_EQ(kmh.distance, "0.29 km");  // 90 m, the 110 m over the clip without a track, 90 m
  EXPECT_EQ(kmh.maxSpeed, "90.0 km/h");
  EXPECT_EQ(mph.distance, "0.18 mi");
  EXPECT_EQ(mph.maxSpeed, "55.9 mph");
}

TEST(DriveViews, ChartLanesRouteTextAndNeighbours) {
  testsupport::ScopedTimeZone utc("UTC0");
  const SampleDrive sample = sampleDrive();
  const std::vector<ChartLane> lanes = driveChartLanes(sample.drive, sample.clips, 1, kGerman);
  ASSERT_EQ(lanes.size(), 3u);
  EXPECT_EQ(lanes[0].title, "Geschwindigkeit");
  EXPECT_EQ(lanes[1].title, wxString::FromUTF8("Höhe"));
  EXPECT_EQ(lanes[0].unit, "mph");
  EXPECT_EQ(lanes[1].unit, "ft");
  EXPECT_EQ(lanes[2].unit, "g");
  EXPECT_NEAR(lanes[1].values[0], 500 * 3.28084, 0.01);
  EXPECT_DOUBLE_EQ(lanes[2].values[3], 1.0);
  // Points at their second of the drive; each clip's line ends in a break:
  // ten points and a break, the empty clip's break, then the third clip.
  const size_t fifthOfThird = 10 + 1 + 1 + 4;
  EXPECT_DOUBLE_EQ(lanes[0].times[fifthOfThird], 24.0);
  EXPECT_TRUE(std::isnan(lanes[0].values[10]));
  EXPECT_TRUE(std::isnan(lanes[1].values[fifthOfThird]));  // no altitude in the last clip
  EXPECT_TRUE(driveChartLanes(groupDrives({clipRecord("/c/a.mp4", 1000)})[0],
                              {clipRecord("/c/a.mp4", 1000)}, 0, kEnglish)
                  .empty());

  const std::string route = driveRouteText(sample.drive, sample.clips);
  EXPECT_EQ(std::count(route.begin(), route.end(), ';'), 1);  // the empty clip adds nothing
  EXPECT_EQ(route.substr(0, 22), "48.100000,11.500000 48");

  const DriveNeighbours middle = driveNeighbours(sample.drive, sample.clips, 1);
  EXPECT_EQ(middle.before.size(), 10u);
  EXPECT_EQ(middle.after.size(), 10u);
  EXPECT_EQ(middle.before[0], (MapPoint{"48.100000", "11.500000"}));
}

TEST(DriveViews, AClickOnTheRouteFindsTheNearestMoment) {
  const SampleDrive sample = sampleDrive();
  const double at255m = 48.1 + 255 / 111195.0;  // between the third clip's 5th and 6th second
  const std::optional<DriveMoment> moment =
      nearestDriveMoment(sample.drive, sample.clips, at255m, 11.5, 150);
  ASSERT_TRUE(moment);
  EXPECT_EQ(moment->path, "/c/20240501_081520.mp4");
  EXPECT_NEAR(static_cast<double>(moment->offsetMs), 5500, 30);
  EXPECT_EQ(driveSecondsOf(sample.drive, sample.clips, moment->path, moment->offsetMs), 25.5);
  EXPECT_FALSE(nearestDriveMoment(sample.drive, sample.clips, 48.2, 11.5, 150));
  EXPECT_FALSE(driveSecondsOf(sample.drive, sample.clips, "/c/other.mp4", 0));
}
