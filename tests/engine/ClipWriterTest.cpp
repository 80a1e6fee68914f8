#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "app/TempFolder.h"
#include "engine/ClipWriter.h"
#include "support/MediaProbe.h"

namespace vantrel {
namespace {

namespace fs = std::filesystem;
using testsupport::MediaProbe;
using testsupport::probeMedia;

std::string fixture(const std::string& name) {
  return std::string(VANTREL_FIXTURES) + "/" + name;
}

constexpr double kFrame = 1.0 / 30;  // numbered.* play at 30 pictures a second

struct SpanCase {
  const char* source;
  const char* target;
  double start, end;
  double keyframe;  // where the clip must begin: the keyframe at or before start
  double clipEnd;   // where it must end
  int streams;
};

void PrintTo(const SpanCase& c, std::ostream* out) {
  *out << c.source << " " << c.start << "-" << c.end << " into " << c.target;
}

class ClipSpans : public testing::TestWithParam<SpanCase> {};

// Every stream is copied, the clip begins with the keyframe at or before
// the start (its first picture is that keyframe's), and sound, pictures and
// the GPS text all cover the span.
TEST_P(ClipSpans, CopyEveryStreamFromTheKeyframeAtOrBeforeTheStart) {
  const SpanCase& c = GetParam();
  testsupport::TempFolder dir;
  const std::string target = (dir.path() / c.target).string();
  ClipResult result;
  ASSERT_EQ(writeClip(fixture(c.source), target, c.start, c.end, nullptr, &result), kClipWritten)
      << result.reason;
  EXPECT_NEAR(result.start, c.keyframe, 1e-6);
  EXPECT_NEAR(result.end, c.clipEnd, kFrame + 1e-6);
  EXPECT_EQ(result.streams, c.streams);
  EXPECT_EQ(result.skippedStreams, 0);
  EXPECT_EQ(result.sourceDuration, 10);

  const MediaProbe clip = probeMedia(target);
  const MediaProbe whole = probeMedia(fixture(c.source));
  ASSERT_TRUE(clip.opened);
  ASSERT_EQ(clip.streams.size(), whole.streams.size());
  for (size_t i = 0; i < clip.streams.size(); ++i) {
    EXPECT_EQ(clip.streams[i].codec, whole.streams[i].codec) << "stream " << i;
  }
  EXPECT_EQ(clip.firstPictureNumber, static_cast<int>(std::lround(c.keyframe * 30)));
  const double length = c.clipEnd - c.keyframe;
  const testsupport::StreamProbe* video = clip.find(AVMEDIA_TYPE_VIDEO);
  ASSERT_NE(video, nullptr);
  EXPECT_EQ(video->packets, static_cast<int>(std::lround(length * 30)));
  EXPECT_NEAR(video->end - video->first, length, 1e-3);
  const testsupport::StreamProbe* audio = clip.find(AVMEDIA_TYPE_AUDIO);
  ASSERT_NE(audio, nullptr);
  EXPECT_NEAR(audio->end - audio->first, length, 0.05);
  if (const testsupport::StreamProbe* text = clip.find(AVMEDIA_TYPE_SUBTITLE)) {
    // One GPS sentence a second.
    EXPECT_EQ(text->packets, static_cast<int>(std::lround(length)));
  }
}

INSTANTIATE_TEST_SUITE_P(Spans, ClipSpans,
                         testing::Values(
                             // Between keyframes (every 2 s): back to the one before.
                             SpanCase{"numbered.MOV", "a.MOV", 3.0, 7.0, 2.0, 7.0, 3},
                             SpanCase{"numbered.MOV", "a.MOV", 5.9, 6.5, 4.0, 6.5, 3},
                             // On a keyframe: there.
                             SpanCase{"numbered.MOV", "a.MOV", 4.0, 6.0, 4.0, 6.0, 3},
                             // From the very start, and an end past the recording's.
                             SpanCase{"numbered.MOV", "a.MOV", 0.0, 60.0, 0.0, 10.0, 3},
                             // MP4 (its track is a file beside it), into a MOV container.
                             SpanCase{"numbered.mp4", "a.mp4", 1.5, 3.0, 0.0, 3.0, 2},
                             SpanCase{"numbered.mp4", "a.mov", 8.2, 9.0, 8.0, 9.0, 2}));

TEST(ClipWriter, ReportsProgressAndStopsWhenCancelledLeavingNothing) {
  testsupport::TempFolder dir;
  const std::string target = (dir.path() / "c.MOV").string();
  std::vector<double> seen;
  const auto record = [&](double fraction) {
    seen.push_back(fraction);
    return true;
  };
  ASSERT_EQ(writeClip(fixture("numbered.MOV"), target, 2.0, 8.0, record, nullptr), kClipWritten);
  ASSERT_GT(seen.size(), 100u);
  EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()));
  EXPECT_NEAR(seen.front(), 0.0, 1e-6);
  EXPECT_NEAR(seen.back(), 1.0, 0.01);

  int calls = 0;
  const auto cancelAtHalf = [&](double fraction) {
    ++calls;
    return fraction < 0.5;
  };
  ClipResult result;
  EXPECT_EQ(writeClip(fixture("numbered.MOV"), target, 2.0, 8.0, cancelAtHalf, &result),
            kClipCancelled);
  EXPECT_EQ(result.reason, "cancelled");
  EXPECT_GT(calls, 10);
  EXPECT_FALSE(fs::exists(target));
}

struct FailureCase {
  const char* what;
  std::string source;
  std::string target;  // inside the temporary folder
  double start, end;
  const char* reason;  // the start of result.reason
};

TEST(ClipWriter, FailuresSayWhyAndLeaveNothing) {
  testsupport::TempFolder dir;
  dir.write("file", "a file where a folder should be");
  const FailureCase cases[] = {
      {"start past the end", fixture("numbered.MOV"), "a.MOV", 10.5, 12, "the start lies past"},
      {"end before start", fixture("numbered.MOV"), "a.MOV", 5, 4, "the end must come after"},
      {"empty span", fixture("numbered.MOV"), "a.MOV", 5, 5, "the end must come after"},
      {"negative start", fixture("numbered.MOV"), "a.MOV", -1, 4, "the end must come after"},
      {"not a recording", fixture("play-garbage.mp4"), "a.mp4", 0, 1, "cannot read"},
      {"no pictures", fixture("play-novideo.mp4"), "a.mp4", 0, 1, "'"},
      {"missing source", fixture("no-such.MOV"), "a.MOV", 0, 1, "cannot read"},
      {"unwritable folder", fixture("numbered.MOV"), "file/a.MOV", 0, 1, "cannot write"},
  };
  for (const FailureCase& c : cases) {
    const std::string target = (dir.path() / c.target).string();
    ClipResult result;
    EXPECT_EQ(writeClip(c.source, target, c.start, c.end, nullptr, &result), kClipFailed) << c.what;
    EXPECT_TRUE(result.reason.starts_with(c.reason)) << c.what << ": " << result.reason;
    EXPECT_FALSE(fs::exists(target)) << c.what;
  }
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1);
}

}  // namespace
}  // namespace vantrel
