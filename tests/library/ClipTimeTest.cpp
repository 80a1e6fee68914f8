#include <gtest/gtest.h>

#include "library/CivilTime.h"
#include "library/ClipTime.h"
#include "library/LibraryRecords.h"

using namespace vantrel;
using testsupport::clipRecord;
using testsupport::straightTrack;

TEST(ClipTime, TrackThenNameThenModificationTime) {
  testsupport::ScopedTimeZone utc("UTC0");
  const int64_t noon = *utcMsOf({2024, 5, 1, 12, 0, 0});
  const int64_t named = *utcMsOf({2024, 5, 1, 7, 30, 5});
  ClipRecord tracked = clipRecord("20240501_073005.MP4", 60'000, noon);
  tracked.utcStartMs = noon - 3'600'000;
  // A header without a length: the track's last point gives it.
  ClipRecord lengthless = clipRecord("x.mp4", 0, noon, straightTrack(1, 1, 30, 1, 3.6f));
  struct Case {
    ClipRecord clip;
    ClipTime time;
  };
  const Case cases[] = {
      {tracked, {noon - 3'600'000, noon - 3'540'000, ClipTimeSource::Track}},
      {clipRecord("20240501_073005.MP4", 60'000, noon),
       {named, named + 60'000, ClipTimeSource::Name}},
      {clipRecord("/media/GRMN0001.MP4", 60'000, noon),
       {noon - 60'000, noon, ClipTimeSource::Modified}},
      {lengthless, {noon - 29'000, noon, ClipTimeSource::Modified}},
  };
  for (const Case& c : cases) {
    const ClipTime time = clipTime(c.clip);
    EXPECT_EQ(time.startMs, c.time.startMs) << c.clip.key.path;
    EXPECT_EQ(time.endMs, c.time.endMs) << c.clip.key.path;
    EXPECT_EQ(time.source, c.time.source) << c.clip.key.path;
  }
}
