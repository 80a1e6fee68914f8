#include <gtest/gtest.h>

#include "library/CivilTime.h"
#include "library/Drives.h"
#include "library/LibraryRecords.h"

using namespace vantrel;
using testsupport::clipRecord;
using testsupport::straightTrack;

namespace {

class DrivesTest : public ::testing::Test {
  testsupport::ScopedTimeZone utc_{"UTC0"};
};

int64_t at(int hour, int minute, int second) {
  return *utcMsOf({2024, 5, 1, hour, minute, second});
}

// Which clips (indices into the input) each drive plays, in order.
std::vector<std::vector<size_t>> shape(const std::vector<Drive>& drives) {
  std::vector<std::vector<size_t>> result;
  for (const Drive& drive : drives) {
    result.emplace_back();
    for (const DriveClip& clip : drive.clips) result.back().push_back(clip.clip);
  }
  return result;
}

}  // namespace

TEST_F(DrivesTest, ClipsJoinWhenTheNextStartsWithinTwoMinutes) {
  struct Case {
    const char* what;
    std::vector<ClipRecord> clips;
    std::vector<std::vector<size_t>> drives;
  };
  const Case cases[] = {
      {"name times, listed out of order; 60 s and exactly 120 s gaps join, 121 s does not",
       {clipRecord("20240501_073105.MP4", 60'000), clipRecord("20240501_073005.MP4", 60'000),
        clipRecord("20240501_073305.MP4", 60'000), clipRecord("20240501_073605.MP4", 60'000),
        clipRecord("20240501_073906.MP4", 60'000)},
       {{1, 0, 2, 3}, {4}}},
      {"modification times mark the end of each clip",
       {clipRecord("a.mp4", 60'000, at(8, 1, 0)), clipRecord("b.mp4", 60'000, at(8, 2, 0)),
        clipRecord("c.mp4", 60'000, at(9, 0, 0))},
       {{0, 1}, {2}}},
      {"a track's date beats the name, which beats the modification time",
       [] {
         ClipRecord tracked = clipRecord("20240501_120000.MP4", 60'000, at(12, 1, 0));
         tracked.utcStartMs = at(7, 31, 5);
         return std::vector<ClipRecord>{clipRecord("20240501_073005.MP4", 60'000, at(12, 0, 0)),
                                        tracked};
       }(),
       {{0, 1}}},
      {"unreadable files belong to no drive",
       [] {
         ClipRecord broken = clipRecord("20240501_073105.MP4", 0);
         broken.readable = false;
         return std::vector<ClipRecord>{clipRecord("20240501_073005.MP4", 60'000), broken};
       }(),
       {{0}}},
      {"overlapping clips stay in one drive",
       {clipRecord("20240501_073005.MP4", 180'000), clipRecord("20240501_073105.MP4", 30'000),
        clipRecord("20240501_073405.MP4", 60'000)},
       {{0, 1, 2}}},
      {"nothing to group", {}, {}},
  };
  for (const Case& c : cases) EXPECT_EQ(shape(groupDrives(c.clips)), c.drives) << c.what;
}

TEST_F(DrivesTest, FrontAndRearOfOneMomentPlayAsOneClip) {
  const std::vector<ClipRecord> clips = {
      clipRecord("2024_0501_073005_001F.MP4", 60'000),
      clipRecord("2024_0501_073006_001R.MP4", 60'000),  // a second later: still a pair
      clipRecord("2024_0501_073105_002R.MP4", 60'000),  // no front: plays itself
      clipRecord("2024_0501_073205_003A.MP4", 60'000),  // A/B and F/R do not pair
      clipRecord("20240501_073205_B.MP4", 60'000),
      clipRecord("20240501_073205_A.MP4", 60'000),  // sorts before 2024_0501...
      clipRecord("20240501_073305_F.MP4", 60'000),
      clipRecord("20240501_073310_R.MP4", 60'000),  // 5 s apart: not the same moment
  };
  const std::vector<Drive> drives = groupDrives(clips);
  ASSERT_EQ(shape(drives), (std::vector<std::vector<size_t>>{{0, 2, 5, 3, 6, 7}}));
  const std::vector<DriveClip>& played = drives[0].clips;
  EXPECT_EQ(played[0].rear, 1u);
  EXPECT_FALSE(played[1].rear);
  EXPECT_EQ(played[2].rear, 4u);
  EXPECT_FALSE(played[3].rear);
  EXPECT_FALSE(played[4].rear);
  EXPECT_FALSE(played[5].rear);
}

TEST_F(DrivesTest, TotalsRunAcrossClipBoundaries) {
  // Two clips 1 km apart in a straight line north, 10 m a second; the step
  // from the first clip's last point to the second's first counts too. A
  // clip without a track adds time but no distance.
  std::vector<ClipPoint> second = straightTrack(48.1 + 600 / 111195.0, 11.5, 60, 10, 72);
  second[30].speedKmh = 97.5f;
  const std::vector<ClipRecord> clips = {
      clipRecord("20240501_073005.MP4", 60'000, 0, straightTrack(48.1, 11.5, 60, 10, 36)),
      clipRecord("20240501_073105.MP4", 60'000, 0, second),
      clipRecord("20240501_073205.MP4", 60'000),
  };
  const std::vector<Drive> drives = groupDrives(clips);
  ASSERT_EQ(drives.size(), 1u);
  // 59 steps of 10 m, one of 10 m across the boundary, 59 more: 1190 m.
  EXPECT_NEAR(drives[0].distanceMetres, 1190, 1190 * 0.003);
  EXPECT_FLOAT_EQ(drives[0].maxKmh, 97.5f);
  EXPECT_EQ(drives[0].points, 120u);
  EXPECT_EQ(drives[0].startMs, at(7, 30, 5));
  EXPECT_EQ(drives[0].endMs, at(7, 33, 5));
  EXPECT_EQ(drivePlaceOf(drives, 1)->position, 1u);
  EXPECT_FALSE(drivePlaceOf(drives, 7));
}
