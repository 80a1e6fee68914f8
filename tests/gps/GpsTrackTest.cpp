#include <gtest/gtest.h>

#include "gps/GpsTrack.h"
#include "gps/SentenceTracks.h"

using namespace vantrel;
using testsupport::sentenceTrack;

namespace {

std::shared_ptr<const Track> track(const std::vector<std::string>& sentences) {
  return std::make_shared<const Track>(sentenceTrack(sentences));
}

}  // namespace

TEST(GpsTrack, PublishReplacesTheWholeTrack) {
  GpsTrack holder;
  testsupport::publishTrack(holder, sentenceTrack({"old"}));
  EXPECT_TRUE(holder.publish(holder.generation(), track({"a", "b"})));
  EXPECT_EQ(holder.size(), 2u);
}

// A loader that finishes after the next playback emptied the track must not
// fill that playback's track with the old recording's sentences.
TEST(GpsTrack, PublishAfterAClearIsDropped) {
  GpsTrack holder;
  uint64_t loadStarted = holder.clear();
  holder.clear();
  EXPECT_FALSE(holder.publish(loadStarted, track({"stale"})));
  EXPECT_EQ(holder.size(), 0u);
  EXPECT_NE(holder.snapshot(), nullptr);  // an empty track, never none
}
