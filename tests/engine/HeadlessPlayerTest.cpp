// The five sound paths played end to end by the headless player, with SDL's
// dummy device playing in real time.
#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "engine/HeadlessPlayer.h"

using namespace vantrel;

namespace {

struct Recording {
  const char* file;
  int seconds;
  int rate;
  bool sound;
};

void PrintTo(const Recording& r, std::ostream* os) {
  *os << r.file;
}

const Recording kRecordings[] = {
    {"play-aac.mp4", 10, 25, true},          {"play-mono.MOV", 3, 25, true},
    {"play-pcm.AVI", 3, 25, true},           {"play-mp3.mp4", 3, 25, true},
    {"play-silent.mp4", 3, 25, false},       {"play-10fps.mp4", 3, 10, true},
    {"play-10fps-silent.mp4", 3, 10, false},
};

std::string readAll(std::FILE* file) {
  std::rewind(file);
  std::string text;
  char buffer[4096];
  while (size_t n = std::fread(buffer, 1, sizeof buffer, file)) text.append(buffer, n);
  return text;
}

}  // namespace

class HeadlessPlay : public testing::TestWithParam<Recording> {
 protected:
  void SetUp() override { setenv("SDL_AUDIODRIVER", "dummy", 0); }
};

TEST_P(HeadlessPlay, PlaysToTheEndInRealTimeWithEveryPictureAndSecondOfSound) {
  const Recording& r = GetParam();
  std::FILE* out = std::tmpfile();
  ASSERT_NE(out, nullptr);
  const std::string path = std::string(VANTREL_FIXTURES) + "/" + r.file;
  const HeadlessSummary s = playHeadless(path.c_str(), nullptr, out);
  printSummary(s, out);
  const std::string text = readAll(out);
  std::fclose(out);

  EXPECT_EQ(s.result, 100);
  EXPECT_EQ(s.durationSeconds, r.seconds);
  EXPECT_EQ(s.frames, r.seconds * r.rate);  // the last one too
  EXPECT_EQ(s.stats.shown, s.frames);
  EXPECT_EQ(s.stats.dropped, 0);
  EXPECT_NEAR(s.audioSeconds, r.sound ? r.seconds : 0.0, 0.5);
  // Paced by the sound (or the steady clock), never faster than real time.
  EXPECT_GE(s.wallSeconds, r.seconds - 0.5);
  EXPECT_LT(s.wallSeconds, r.seconds + 2.0);

  std::istringstream lines(text);
  std::vector<std::string> got;
  for (std::string line; std::getline(lines, line);) got.push_back(line);
  ASSERT_GE(got.size(), 4u);
  EXPECT_EQ(got[0], "sync 0 0");
  EXPECT_EQ(got[1], "sync 1 0");
  EXPECT_EQ(got[got.size() - 3], "sync 1 " + std::to_string(r.seconds));
  EXPECT_EQ(got[got.size() - 2], "sync 2 0");
  char expected[160];
  std::snprintf(expected, sizeof expected,
                "result=100 duration=%d frames=%lld audio_seconds=%.2f wall=%.2f speed=1 ",
                r.seconds, static_cast<long long>(s.frames), s.audioSeconds, s.wallSeconds);
  EXPECT_EQ(got.back(), expected + formatStats(s.stats));
}

INSTANTIATE_TEST_SUITE_P(SoundPaths, HeadlessPlay, testing::ValuesIn(kRecordings),
                         [](const testing::TestParamInfo<Recording>& info) {
                           std::string name = info.param.file;
                           for (char& c : name) {
                             if (!isalnum(static_cast<unsigned char>(c))) c = '_';
                           }
                           return name;
                         });

TEST(HeadlessPlayer, AFileThatCannotPlayEndsAtOnceWithMinusOne) {
  setenv("SDL_AUDIODRIVER", "dummy", 0);
  std::FILE* out = std::tmpfile();
  const std::string path = std::string(VANTREL_FIXTURES) + "/play-novideo.mp4";
  const HeadlessSummary s = playHeadless(path.c_str(), nullptr, out);
  EXPECT_EQ(readAll(out), "sync 0 0\n");
  std::fclose(out);
  EXPECT_EQ(s.result, -1);
  EXPECT_EQ(s.frames, 0);
}

TEST(HeadlessPlayer, AWrongCommandLineIsRefused) {
  char arg[] = "a.mp4";
  char* two[] = {arg, arg};
  testing::internal::CaptureStderr();
  EXPECT_EQ(runHeadlessPlayer(0, nullptr, nullptr), 2);
  EXPECT_EQ(runHeadlessPlayer(2, two, nullptr), 2);
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "usage: vantrel --play FILE\nusage: vantrel --play FILE\n");
}
