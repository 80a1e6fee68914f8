#include <gtest/gtest.h>

#include "engine/GpsTrack.h"

using namespace vantrel;

TEST(GpsTrack, PublishReplacesTheWholeTrack) {
  GpsTrack track;
  track.append("old");
  EXPECT_TRUE(track.publish(track.generation(), {"a", "b"}));
  EXPECT_EQ(track.snapshot(), (std::vector<std::string>{"a", "b"}));
}

// A loader that finishes after the next playback emptied the track must not
// fill that playback's track with the old recording's sentences.
TEST(GpsTrack, PublishAfterAClearIsDropped) {
  GpsTrack track;
  uint64_t loadStarted = track.generation();
  track.clear();
  EXPECT_FALSE(track.publish(loadStarted, {"stale"}));
  EXPECT_EQ(track.size(), 0u);
}
