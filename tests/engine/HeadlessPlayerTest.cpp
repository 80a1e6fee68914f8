// The five sound paths played end to end by the headless player, with SDL's
// dummy device playing in real time.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "engine/Display.h"
#include "engine/HeadlessPlayer.h"
#include "support/TestName.h"

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

// A fixture played headless at speed, into SDL's dummy device: its summary,
// and the lines it wrote, the summary's own line last.
struct Played {
  HeadlessSummary summary;
  std::vector<std::string> lines;
};

Played play(const char* file, double speed = 1.0) {
  setenv("SDL_AUDIODRIVER", "dummy", 0);
  Played played;
  std::FILE* out = std::tmpfile();
  if (!out) {
    ADD_FAILURE() << "no temporary file";
    return played;
  }
  const std::string path = std::string(VANTREL_FIXTURES) + "/" + file;
  played.summary = playHeadless(path.c_str(), nullptr, out, speed);
  printSummary(played.summary, out);
  std::rewind(out);
  std::string text;
  char buffer[4096];
  while (size_t n = std::fread(buffer, 1, sizeof buffer, out)) text.append(buffer, n);
  std::fclose(out);
  std::istringstream lines(text);
  for (std::string line; std::getline(lines, line);) played.lines.push_back(line);
  return played;
}

}  // namespace

using HeadlessPlay = testing::TestWithParam<Recording>;

TEST_P(HeadlessPlay, PlaysToTheEndInRealTimeWithEveryPictureAndSecondOfSound) {
  const Recording& r = GetParam();
  const Played played = play(r.file);
  const HeadlessSummary& s = played.summary;

  EXPECT_EQ(s.result, 100);
  EXPECT_EQ(s.durationSeconds, r.seconds);
  EXPECT_EQ(s.frames, r.seconds * r.rate);  // the last one too
  EXPECT_EQ(s.stats.shown, s.frames);
  EXPECT_EQ(s.stats.dropped, 0);
  EXPECT_NEAR(s.audioSeconds, r.sound ? r.seconds : 0.0, 0.5);
  // Paced by the sound (or the steady clock), never faster than real time.
  EXPECT_GE(s.wallSeconds, r.seconds - 0.5);
  EXPECT_LT(s.wallSeconds, r.seconds + 2.0);

  const std::vector<std::string>& got = played.lines;
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
                           return testsupport::testName(info.param.file);
                         });

TEST(HeadlessPlayer, AFileThatCannotPlayEndsAtOnceWithMinusOne) {
  const Played played = play("play-novideo.mp4");
  ASSERT_EQ(played.lines.size(), 2u);
  EXPECT_EQ(played.lines[0], "sync 0 0");
  EXPECT_EQ(played.summary.result, -1);
  EXPECT_EQ(played.summary.frames, 0);
}

TEST(HeadlessPlayer, AWrongCommandLineIsRefused) {
  const std::vector<std::vector<std::string>> wrong = {
      {},
      {"a.mp4", "a.mp4"},
      {"a.mp4", "--speed"},
      {"--speed", "2", "--speed"},
      {"a.mp4", "--speed", "3"},  // not one of the speeds offered
      {"a.mp4", "--speed", "2x"},
      {"a.mp4", "--speed", ""},
  };
  for (const std::vector<std::string>& args : wrong) {
    std::vector<std::string> copies = args;
    std::vector<char*> argv;
    for (std::string& arg : copies) argv.push_back(arg.data());
    testing::internal::CaptureStderr();
    EXPECT_EQ(runHeadlessPlayer(static_cast<int>(argv.size()), argv.data(), nullptr), 2)
        << testing::PrintToString(args);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "usage: vantrel --play FILE [--speed 0.25|0.5|0.75|1|1.25|1.5|2|4]\n");
  }
}

TEST(HeadlessPlayer, TheSpeedMayComeBeforeOrAfterTheFile) {
  char file[] = "a.mp4", option[] = "--speed", quarter[] = "0.25", four[] = "4";
  char* before[] = {option, quarter, file};
  char* after[] = {file, option, four};
  const auto slow = parseHeadlessArguments(3, before);
  const auto fast = parseHeadlessArguments(3, after);
  ASSERT_TRUE(slow && fast);
  EXPECT_STREQ(slow->path, "a.mp4");
  EXPECT_EQ(slow->speed, 0.25);
  EXPECT_STREQ(fast->path, "a.mp4");
  EXPECT_EQ(fast->speed, 4.0);
}

// Other speeds: the recording takes its length over the speed, every
// picture is shown or, faster than the machine converts them, counted as
// dropped; the dashboard still gets every second, and the pictures stay
// with the sound (or the steady clock of a silent recording).
struct AtSpeed {
  const char* file;
  int seconds;
  int rate;
  bool sound;
  double speed;
};

void PrintTo(const AtSpeed& r, std::ostream* os) {
  *os << r.file << " at " << r.speed;
}

using HeadlessAtSpeed = testing::TestWithParam<AtSpeed>;

TEST_P(HeadlessAtSpeed, TakesItsLengthOverTheSpeedWithThePicturesOnTheSound) {
  const AtSpeed& r = GetParam();
  const Played played = play(r.file, r.speed);
  const HeadlessSummary& s = played.summary;
  printSummary(s, stdout);  // the figures, for the log

  EXPECT_EQ(s.result, 100);
  EXPECT_EQ(s.stats.shown + s.stats.dropped, r.seconds * r.rate);
  EXPECT_EQ(s.stats.shown, s.frames);
  if (r.speed <= 1.0) {
    EXPECT_EQ(s.stats.dropped, 0);
  }
  const double expected = r.seconds / r.speed;
  EXPECT_GE(s.wallSeconds, expected - 0.5);
  EXPECT_LT(s.wallSeconds, expected + 2.0);
  // The sound heard lasts the recording's length over the speed too.
  EXPECT_NEAR(s.audioSeconds, r.sound ? expected : 0.0, 0.5);
  // In media seconds: no picture ran further ahead of the sound than the
  // pacing lets it (its lead in playing time), and on average none lagged
  // behind it noticeably.
  const double lead = kPacingLead * r.speed + 1e-6;
  EXPECT_LE(s.stats.offsetLargest, lead);
  EXPECT_LE(s.stats.offsetMean, lead);
  EXPECT_GE(s.stats.offsetMean, -kLateSeconds * r.speed);

  std::vector<std::string> seconds;
  for (const std::string& line : played.lines) {
    if (line.starts_with("sync 1 ")) seconds.push_back(line);
  }
  ASSERT_EQ(seconds.size(), static_cast<size_t>(r.seconds + 1));
  for (int i = 0; i <= r.seconds; ++i) EXPECT_EQ(seconds[i], "sync 1 " + std::to_string(i));
}

INSTANTIATE_TEST_SUITE_P(Speeds, HeadlessAtSpeed,
                         testing::Values(AtSpeed{"play-aac.mp4", 10, 25, true, 2.0},
                                         AtSpeed{"play-aac.mp4", 10, 25, true, 4.0},
                                         AtSpeed{"play-mono.MOV", 3, 25, true, 0.5},
                                         AtSpeed{"play-silent.mp4", 3, 25, false, 2.0},
                                         AtSpeed{"play-10fps.mp4", 3, 10, true, 0.25}),
                         [](const testing::TestParamInfo<AtSpeed>& info) {
                           return testsupport::testName(std::string(info.param.file) + "_x" +
                                                        std::to_string(info.param.speed));
                         });
