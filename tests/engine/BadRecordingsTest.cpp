// What a dashcam leaves on its card, played by the headless player: files cut
// by power loss, empty or random files, odd sizes and codecs. Each plays to
// its end or fails fast; none crashes or hangs.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "engine/HeadlessPlayer.h"
#include "support/TestName.h"

using namespace vantrel;

namespace {

constexpr int kPlays = 100;
constexpr int kFails = -1;
// Bounds that only a hang crosses: sanitizer builds decode several times slower.
constexpr double kFailWithinSeconds = 5.0;
constexpr double kEndSlackSeconds = 10.0;

struct BadRecording {
  const char* file;
  int result;     // kPlays or kFails
  int seconds;    // the length it declares (whole seconds), when it plays
  int minFrames;  // pictures it shows at least, when it plays
};

void PrintTo(const BadRecording& r, std::ostream* os) {
  *os << r.file;
}

const BadRecording kBadRecordings[] = {
    {"bad-empty.mp4", kFails, 0, 0},
    {"bad-random.mp4", kFails, 0, 0},
    {"bad-noindex.MOV", kFails, 0, 0},      // its index was to be written last
    {"bad-cut.AVI", kPlays, 1, 15},         // about 1 s of 2 left, 25 pictures a second
    {"bad-shortaudio.mp4", kPlays, 3, 60},  // the sound stops after 1 s, pictures go on
    {"bad-oneframe.mp4", kPlays, 0, 1},
    {"bad-4k.mp4", kPlays, 1, 3},
    {"video-854.mp4", kPlays, 1, 5},
    {"bad-portrait.mp4", kPlays, 1, 5},
    // FFmpeg's own encoder marks HE-AAC that its decoder cannot open; a sound
    // decoder that does not open keeps the recording from playing.
    {"bad-heaac.mp4", kFails, 0, 0},
    {"play-pcm.AVI", kPlays, 3, 60},
    {"play-mp3.mp4", kPlays, 3, 60},
    {"play-silent.mp4", kPlays, 3, 60},
    {"play-novideo.mp4", kFails, 0, 0},  // sound only: nothing to show
};

}  // namespace

class BadRecordings : public testing::TestWithParam<BadRecording> {
 protected:
  void SetUp() override { setenv("SDL_AUDIODRIVER", "dummy", 0); }
};

TEST_P(BadRecordings, PlayToTheirEndOrFailFast) {
  const BadRecording& r = GetParam();
  std::FILE* out = std::tmpfile();
  ASSERT_NE(out, nullptr);
  const std::string path = std::string(VANTREL_FIXTURES) + "/" + r.file;
  const HeadlessSummary s = playHeadless(path.c_str(), nullptr, out);
  std::fclose(out);

  ASSERT_EQ(s.result, r.result);
  if (r.result == kFails) {
    EXPECT_EQ(s.frames, 0);
    EXPECT_LT(s.wallSeconds, kFailWithinSeconds);
    return;
  }
  EXPECT_EQ(s.durationSeconds, r.seconds);
  EXPECT_GE(s.frames, r.minFrames);
  EXPECT_LT(s.wallSeconds, r.seconds + kEndSlackSeconds);
}

INSTANTIATE_TEST_SUITE_P(Cards, BadRecordings, testing::ValuesIn(kBadRecordings),
                         [](const testing::TestParamInfo<BadRecording>& info) {
                           return testsupport::testName(info.param.file);
                         });
