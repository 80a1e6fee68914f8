// Whole playbacks of generated recordings through the engine, with SDL's
// dummy sound device (which plays in real time) and a recording host.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <cstdlib>
#include <thread>

#include "engine/EngineState.h"
#include "engine/Playback.h"
#include "engine/PlaybackRecorder.h"
#include "engine/PlayerState.h"
#include "engine/Transport.h"
#include "support/ProcessState.h"

using namespace vantrel;

namespace {

std::string fixture(const char* name) {
  return std::string(VANTREL_FIXTURES) + "/" + name;
}

double cpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec +
         (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

}  // namespace

class PlaybackRun : public testing::Test {
 protected:
  void SetUp() override {
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    state.volume = 80;
  }
  void start(const char* name) {
    recorder.clear();
    state.setFileName(fixture(name));
    ASSERT_TRUE(playback.start());
  }
  // The playback's end as the host saw it: the reset, or the loading text
  // hidden after a failed open.
  bool ended() {
    return recorder.waitFor([this] { return state.finished.load(); });
  }
  std::vector<int64_t> syncs(int code) {
    std::vector<int64_t> out;
    for (const auto& e : recorder.events()) {
      if (e.what == "sync" && e.a == code) out.push_back(e.b);
    }
    return out;
  }
  void expectIdleAndJoined() {
    EXPECT_EQ(state.playState, Idle);
    EXPECT_FALSE(state.quit);
    EXPECT_FALSE(state.paused);
    EXPECT_EQ(state.audioClock.load(), 0.0);
    EXPECT_EQ(testsupport::engineWorkerThreads(), 0);
    EXPECT_EQ(engine.formatContext, nullptr);
  }

  PlayerState state;
  EngineState& engine = engineOf(state);
  PlaybackRecorder recorder;
  Playback playback{state, recorder, nullptr};
};

TEST_F(PlaybackRun, ARecordingThatEndsAdvancesTheListAndReportsInOrder) {
  start("play-mono.MOV");
  ASSERT_TRUE(ended());
  playback.stopAndJoin();
  expectIdleAndJoined();
  std::vector<std::string> order;
  for (const auto& e : recorder.events()) {
    if (e.what != "sync" || e.a != 1) order.push_back(e.what + std::to_string(e.a));
  }
  // The track is announced (and the window draws its route) only once the
  // first picture is out, and still before the first second.
  EXPECT_EQ(order, (std::vector<std::string>{"loading1", "started0", "loading0", "picture0",
                                             "sync0", "reset0", "advance0"}));
  const std::vector<int64_t> seconds = syncs(1);
  ASSERT_FALSE(seconds.empty());
  EXPECT_EQ(seconds.front(), 0);
  EXPECT_EQ(seconds.back(), 3);
  EXPECT_TRUE(std::is_sorted(seconds.begin(), seconds.end()));
  EXPECT_EQ(std::adjacent_find(seconds.begin(), seconds.end()), seconds.end())
      << "each second is posted once";
}

TEST_F(PlaybackRun, PauseStopsTheClockAndThePicturesAndCostsNothing) {
  for (const char* name : {"play-aac.mp4", "play-silent.mp4"}) {
    start(name);
    ASSERT_TRUE(recorder.waitForSecond(1)) << name;
    pausePlayback(state);
    std::this_thread::sleep_for(std::chrono::milliseconds(100));  // a step under way ends
    const double clock = state.audioClock.load();
    const int64_t frames = recorder.frames.load();
    const double cpu = cpuSeconds();
    std::this_thread::sleep_for(std::chrono::milliseconds(800));
    EXPECT_EQ(state.audioClock.load(), clock) << name;
    EXPECT_EQ(recorder.frames.load(), frames) << name;
    EXPECT_LT(cpuSeconds() - cpu, 0.1) << name << ": something spins while paused";
    resumePlayback(state);
    EXPECT_TRUE(recorder.waitFor([&] { return state.audioClock.load() > clock + 0.3; }, 5000))
        << name;
    EXPECT_GT(recorder.frames.load(), frames) << name;
    stopPlayback(state);
    ASSERT_TRUE(ended());
    playback.stopAndJoin();
    expectIdleAndJoined();
  }
}

TEST_F(PlaybackRun, StopEndsWithTheResetAndNoAdvance) {
  start("play-aac.mp4");
  ASSERT_TRUE(recorder.waitForSecond(1));
  stopPlayback(state);
  ASSERT_TRUE(ended());
  EXPECT_TRUE(recorder.saw("reset"));
  EXPECT_FALSE(recorder.saw("advance"));
  playback.stopAndJoin();
  expectIdleAndJoined();
}

TEST_F(PlaybackRun, ASeekLandsWithinASecondOfItsTarget) {
  for (const char* name : {"play-aac.mp4", "play-silent.mp4"}) {
    start(name);
    ASSERT_TRUE(recorder.waitForSecond(1)) << name;
    const int64_t target = std::string(name) == "play-aac.mp4" ? 7 : 2;
    ASSERT_TRUE(requestSeek(state, target));
    EXPECT_EQ(state.elapsedSeconds, target);
    ASSERT_TRUE(recorder.waitForSecond(target - 1, 3000)) << name;
    const std::vector<int64_t> seconds = syncs(1);
    const auto landed =
        std::find_if(seconds.begin(), seconds.end(), [&](int64_t s) { return s >= target - 1; });
    EXPECT_LE(*landed, target + 1) << name;
    EXPECT_TRUE(
        recorder.waitFor([&] { return std::abs(state.audioClock.load() - target) < 1.0; }, 3000))
        << name << ": the clock follows the seek";
    stopPlayback(state);
    ASSERT_TRUE(ended());
    playback.stopAndJoin();
  }
}

// They say why, for the window to show.
TEST_F(PlaybackRun, RecordingsThatCannotPlayFailFastWithoutAdvancing) {
  const std::pair<const char*, const char*> cases[] = {
      {"play-novideo.mp4", "it holds no pictures"},
      {"play-garbage.mp4", "Invalid data found when processing input"},
      {"bad-empty.mp4", "the file is empty"},
      {"no-such-file.mp4", "No such file or directory"},
  };
  for (auto [name, why] : cases) {
    start(name);
    ASSERT_TRUE(ended()) << name;
    playback.stopAndJoin();
    expectIdleAndJoined();
    EXPECT_FALSE(state.opening) << name;
    std::vector<std::string> order;
    for (const auto& e : recorder.events()) order.push_back(e.what + std::to_string(e.a));
    EXPECT_EQ(order, (std::vector<std::string>{"loading1", "sync0", "loading0", "failed0"}))
        << name;
    EXPECT_EQ(recorder.failure(), why) << name;
  }
}

TEST_F(PlaybackRun, ARecordingCutShortEndsWhenItsDataIsPlayedOut) {
  start("play-cut.mp4");  // declares 4 s, carries about 2
  ASSERT_TRUE(ended());
  EXPECT_TRUE(recorder.saw("advance"));
  EXPECT_LT(syncs(1).back(), 4);
  playback.stopAndJoin();
  expectIdleAndJoined();
}

TEST_F(PlaybackRun, GoingAwayMidPlaybackStopsAndJoinsEverything) {
  {
    Playback local(state, recorder, nullptr);
    state.setFileName(fixture("play-aac.mp4"));
    ASSERT_TRUE(local.start());
    ASSERT_TRUE(recorder.waitForSecond(1));
    EXPECT_FALSE(local.start()) << "one playback at a time";
  }
  EXPECT_TRUE(state.finished);
  expectIdleAndJoined();
}

TEST_F(PlaybackRun, TheTrackIsLoadedBeforeSyncZero) {
  bool loadedBeforeSync = false;
  int loads = 0;
  Playback withTrack(state, recorder, [&](PlayerState&) {
    loadedBeforeSync = !recorder.saw("sync");
    ++loads;
    return 0;
  });
  state.setFileName(fixture("play-garbage.mp4"));
  ASSERT_TRUE(withTrack.start());
  ASSERT_TRUE(ended());
  withTrack.stopAndJoin();
  EXPECT_TRUE(loadedBeforeSync);
  EXPECT_EQ(loads, 1);
}
