#include <gtest/gtest.h>

#include "gps/TimedTracks.h"
#include "gps/TrackTimeline.h"

using namespace vantrel;
using testsupport::timedTrack;

TEST(TrackTimeline, SentenceLayoutIsStepped) {
  Track track;
  track.fixes.resize(3);
  const TrackTimeline timeline(track);
  EXPECT_TRUE(timeline.stepped());
  EXPECT_EQ(timeline.fixInOrder(2), 2u);
}

TEST(TrackTimeline, UtcTimesCountFromTheFirstFix) {
  // 10 Hz, then a gap, then a fix out of order and two at the same time.
  const TrackTimeline timeline(timedTrack({100, 100.1, 100.2, 105, 103, 106, 106}));
  ASSERT_FALSE(timeline.stepped());
  const std::pair<int64_t, int64_t> cases[] = {
      {-1, -1},  {0, 0},    {99, 0},   {100, 1},  {250, 2},       {2999, 2},
      {3000, 4}, {4999, 4}, {5000, 3}, {6000, 6}, {1'000'000, 6},
  };
  for (const auto& [ms, fix] : cases) EXPECT_EQ(timeline.fixAt(ms), fix) << ms;
  EXPECT_EQ(timeline.placeOf(3), 5000);
  EXPECT_EQ(timeline.rankOf(4), 3u);  // 103 s sits before 105 s
  EXPECT_EQ(timeline.fixInOrder(3), 4u);
  EXPECT_EQ(timeline.fixInOrder(4), 3u);
}

TEST(TrackTimeline, OffsetsAreTakenAsTheyAre) {
  Track track = timedTrack({0, 0, 0});
  track.timing = kTimingUtc | kTimingOffset;
  for (size_t i = 0; i < 3; ++i) {
    track.fixes[i].flags |= kFixOffset;
    track.fixes[i].offsetMs = 2000 + static_cast<int64_t>(i) * 1000;
  }
  const TrackTimeline timeline(track);
  EXPECT_EQ(timeline.fixAt(1999), -1);
  EXPECT_EQ(timeline.fixAt(2000), 0);
  EXPECT_EQ(timeline.fixAt(4500), 2);
}

// A fix without its time (a source that could not read one) stays where
// the fix before it is, rather than jumping to the start.
TEST(TrackTimeline, FixWithoutATimeKeepsThePlaceBeforeIt) {
  Track track = timedTrack({10, 11, 12});
  track.fixes[1].flags &= static_cast<uint16_t>(~kFixUtc);
  const TrackTimeline timeline(track);
  EXPECT_EQ(timeline.placeOf(1), 0);
  EXPECT_EQ(timeline.placeOf(2), 2000);
  EXPECT_EQ(timeline.fixAt(500), 1);
}
