// Exact seeks and frame steps through the whole engine, on recordings whose
// pictures carry their own number and a key picture every 2 s: the picture
// shown after a seek is the one at the time asked for, read back from its
// pixels, and a step shows the very next or previous picture.
#include <gtest/gtest.h>

#include <cmath>
#include <thread>
#include <vector>

#include "engine/EngineState.h"
#include "engine/NumberRecorder.h"
#include "engine/Playback.h"
#include "engine/PlayerState.h"
#include "engine/Transport.h"
#include "engine/VideoDecoder.h"
#include "support/TestName.h"

using namespace vantrel;

namespace {

struct Numbered {
  const char* name;
  int rate;  // pictures a second
  int last;  // number of the last picture
};

class ExactSeek : public testing::TestWithParam<Numbered> {
 protected:
  void SetUp() override {
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    state.volume = 80;
    state.setFileName(std::string(VANTREL_FIXTURES) + "/" + GetParam().name);
    ASSERT_TRUE(playback.start());
    ASSERT_TRUE(recorder.waitFor([&] { return recorder.count() >= 5; }));
    pausePlayback(state);
    // A picture on its way when the pause came may still show.
    size_t seen = 0;
    ASSERT_TRUE(recorder.waitFor([&, since = std::chrono::steady_clock::now()]() mutable {
      if (recorder.count() != seen) {
        seen = recorder.count();
        since = std::chrono::steady_clock::now();
      }
      return std::chrono::steady_clock::now() - since > std::chrono::milliseconds(300);
    }));
  }
  void TearDown() override {
    stopPlayback(state);
    playback.stopAndJoin();
  }

  double timeOf(int number) const { return static_cast<double>(number) / GetParam().rate; }
  int Now() { return recorder.shown().back().number; }

  // Runs act while paused and waits until it has shown its one picture and
  // the playback stands still again; the numbers shown meanwhile.
  std::vector<int> PausedPictures(const std::function<void()>& act, size_t pictures = 1) {
    const size_t before = recorder.count();
    act();
    const bool done = recorder.waitFor(
        [&] { return recorder.count() >= before + pictures && state.paused; }, 8000);
    std::this_thread::sleep_for(std::chrono::milliseconds(150));  // nothing more comes
    std::vector<int> numbers;
    const auto shown = recorder.shown();
    for (size_t i = before; i < shown.size(); ++i) numbers.push_back(shown[i].number);
    EXPECT_TRUE(done) << "still " << numbers.size() << " pictures";
    EXPECT_EQ(state.playState, Paused);
    return numbers;
  }

  PlayerState state;
  NumberRecorder recorder;
  Playback playback{state, recorder, nullptr};
};

}  // namespace

// Paused, a seek shows exactly one picture: the one at the time asked for,
// also when it is far from a key picture or between two pictures.
TEST_P(ExactSeek, PausedASeekShowsThePictureAtTheTimeAskedFor) {
  const int rate = GetParam().rate;
  const double targets[] = {2.0,                      // a key picture
                            (2.0 * rate - 1) / rate,  // the picture before it: the longest way
                            3.5,                      // 25 a second: between two pictures
                            1.0 / rate,
                            0.0,
                            1e9 /* past the end: the last picture */,
                            4.0 + 0.4 / rate};
  for (const double target : targets) {
    const int expected =
        static_cast<int>(std::min(std::floor(target * rate + 1e-6), 1.0 * GetParam().last));
    const std::vector<int> numbers = PausedPictures([&] { requestSeek(state, target); });
    EXPECT_EQ(numbers, std::vector<int>{expected}) << target;
    EXPECT_NEAR(recorder.shown().back().time, timeOf(expected), 1e-6) << target;
  }
}

// Steps back and on across a key picture, one picture each; none past either end.
TEST_P(ExactSeek, FrameStepsShowTheNeighbouringPictureAcrossAKeyPicture) {
  const int key = 2 * GetParam().rate;
  ASSERT_EQ(PausedPictures([&] { requestSeek(state, timeOf(key + 1)); }),
            std::vector<int>{key + 1});
  const struct {
    int direction, expected;
  } walk[] = {{-1, key}, {-1, key - 1}, {-1, key - 2}, {+1, key - 1}, {+1, key}, {+1, key + 1}};
  for (const auto& step : walk) {
    EXPECT_EQ(PausedPictures([&] { requestFrameStep(state, step.direction, false); }),
              std::vector<int>{step.expected})
        << "from " << Now();
  }
  // At the first picture a step back shows it again; at the last a step on shows nothing.
  ASSERT_EQ(PausedPictures([&] { requestSeek(state, 0.0); }), std::vector<int>{0});
  EXPECT_EQ(PausedPictures([&] { requestFrameStep(state, -1, false); }), std::vector<int>{0});
  ASSERT_EQ(PausedPictures([&] { requestSeek(state, 1e9); }), std::vector<int>{GetParam().last});
  EXPECT_EQ(PausedPictures([&] { requestFrameStep(state, +1, false); }, 0), std::vector<int>{});
  EXPECT_EQ(Now(), GetParam().last);
}

// Steps taken while playing pause first; Resume then plays on from the
// picture shown, with the sound from there.
TEST_P(ExactSeek, PlayingOnAfterStepsStartsFromThePictureShown) {
  ASSERT_EQ(PausedPictures([&] { requestSeek(state, 1.0); }), std::vector<int>{GetParam().rate});
  resumePlayback(state);
  ASSERT_TRUE(recorder.waitFor([&] { return Now() >= GetParam().rate + 3; }));
  std::vector<int> stepped;
  for (int i = 0; i < 5; ++i) {
    const std::vector<int> one = PausedPictures([&] { requestFrameStep(state, +1, false); });
    stepped.insert(stepped.end(), one.begin(), one.end());
  }
  ASSERT_EQ(stepped.size(), 5u);
  for (size_t i = 1; i < stepped.size(); ++i) EXPECT_EQ(stepped[i], stepped[i - 1] + 1);
  const int from = stepped.back();
  const size_t before = recorder.count();
  resumePlayback(state);
  ASSERT_TRUE(recorder.waitFor([&] { return recorder.count() >= before + 15; }));
  const auto shown = recorder.shown();
  EXPECT_GE(shown[before].number, from);
  EXPECT_LE(shown[before].number, from + 1);
  for (size_t i = before + 1; i < shown.size(); ++i)
    EXPECT_GT(shown[i].number, shown[i - 1].number);
  EXPECT_NEAR(state.audioClock.load(), shown.back().time, 0.25) << "the clock follows the picture";
}

// While playing, the pictures jump from where they were straight to the
// target's: none of those between its key picture and it shows.
TEST_P(ExactSeek, PlayingASeekJumpsStraightToTheTargetsPicture) {
  resumePlayback(state);
  const int rate = GetParam().rate;
  for (const int target : {4 * rate - 2, rate + rate / 2, 2 * rate}) {
    const size_t before = recorder.count();
    ASSERT_TRUE(requestSeek(state, timeOf(target)));
    ASSERT_TRUE(recorder.waitFor([&] { return recorder.count() >= before + 8; }));
    const auto shown = recorder.shown();
    std::vector<int> numbers;
    for (size_t i = before; i < shown.size(); ++i) numbers.push_back(shown[i].number);
    const auto landed = std::find(numbers.begin(), numbers.end(), target);
    ASSERT_NE(landed, numbers.end()) << target;
    if (landed != numbers.begin()) {
      EXPECT_NE(*(landed - 1), target - 1) << "the way from the key picture showed";
    }
    for (auto it = landed + 1; it != numbers.end(); ++it) EXPECT_EQ(*it, *(it - 1) + 1);
  }
}

INSTANTIATE_TEST_SUITE_P(Recordings, ExactSeek,
                         testing::Values(Numbered{"numbered.MOV", 30, 299},
                                         Numbered{"numbered-bframes.mp4", 30, 179},
                                         Numbered{"numbered-silent.mp4", 25, 149}),
                         [](const auto& info) { return testsupport::testName(info.param.name); });

// The choice among the pictures on the way to a target at 2.0 s, 30 a second.
TEST(SeekPictureChoice, TheLastPictureAtOrBeforeTheTargetIsTheTargets) {
  const double interval = 1.0 / 30;
  struct Case {
    std::optional<double> time;
    double target, interval;
    bool holding;
    SeekPicture choice;
  };
  const Case cases[] = {
      {1.9, 2.0, interval, false, SeekPicture::Hold},           // more may come before 2.0
      {60 * interval, 2.0, interval, true, SeekPicture::This},  // at the target
      {2.01, 2.02, interval, true, SeekPicture::This},          // the next comes after it
      {2.0 + interval, 2.0, interval, true, SeekPicture::HeldThenThis},
      {2.5, 2.0, interval, false, SeekPicture::This},  // nothing before the target at all
      {1.99, 2.0, 0.0, false, SeekPicture::Hold},      // no rate: wait for the next
      {std::nullopt, 2.0, interval, true, SeekPicture::HeldThenThis},
      {std::nullopt, 2.0, interval, false, SeekPicture::This},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(seekPictureChoice(c.time, c.target, c.interval, c.holding), c.choice)
        << c.time.value_or(-1) << " " << c.target;
  }
}
