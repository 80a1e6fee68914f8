// The sample drive that `scripts/run` opens, as the library reads it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "gps/TrackLoader.h"
#include "gps/TripStatistics.h"
#include "library/ClipReader.h"
#include "library/ClipTime.h"
#include "library/Drives.h"

using namespace vantrel;

namespace {

int64_t secondOfDay(int32_t hhmmss) {
  return hhmmss / 10000 * 3600 + hhmmss / 100 % 100 * 60 + hhmmss % 100;
}

}  // namespace

// One trip cut into two clips as a camera cuts it: the second begins where
// and when the first ends, so the drive's route runs on without a fork and
// its clips follow one another on the chart. The files' times, which place
// the clips (their tracks carry no dates), agree with their tracks' clocks.
TEST(SampleDrive, TheSecondClipGoesOnWhereAndWhenTheFirstEnds) {
  const std::string dir = std::string(VANTREL_BINARY_DIR) + "/sample-drive/";
  const std::vector<std::string> paths = {dir + "DRIVE-0001.MOV", dir + "DRIVE-0002.MP4"};
  std::vector<ClipRecord> clips;
  std::vector<std::vector<GpsFix>> fixes;
  for (const std::string& path : paths) {
    clips.push_back(readClip(path));
    const TrackLoad load = loadTrack(path);
    ASSERT_TRUE(clips.back().readable) << path << ": " << clips.back().reason;
    ASSERT_EQ(load.result, 0) << path << ": " << load.reason;
    ASSERT_EQ(load.track.fixes.size(), 30u) << path;
    fixes.push_back(load.track.fixes);
    const int64_t start = clipTime(clips.back()).startMs % 86'400'000;
    EXPECT_NEAR(double(start), double(secondOfDay(fixes.back().front().clock) * 1000), 100) << path;
  }
  const std::vector<Drive> drives = groupDrives(clips);
  ASSERT_EQ(drives.size(), 1u);
  ASSERT_EQ(drives[0].clips.size(), 2u);
  EXPECT_EQ(drives[0].clips[0].clip, 0u);
  EXPECT_NEAR(double(clipTime(clips[1]).startMs), double(clipTime(clips[0]).endMs), 100);

  const GpsFix& last = fixes[0].back();
  const GpsFix& next = fixes[1].front();
  EXPECT_EQ(secondOfDay(next.clock) - secondOfDay(last.clock), 1);
  const double metres =
      gpsDistanceMetres(last.longitude, last.latitude, next.longitude, next.latitude);
  EXPECT_NEAR(metres, next.speedKmh / 3.6, 1.0);
  EXPECT_GT(next.speedKmh, 50);  // on the move: a clip starting at rest would hide a fork
}
