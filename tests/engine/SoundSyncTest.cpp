// Picture and sound together at the low sample rates of cheap dashcams (8 to
// 16 kHz, PCM and AAC, mono, 5 to 15 pictures a second), on SDL's dummy
// device. That device keeps time by sleeping after each buffer and falls
// behind real time on a busy machine, so the pictures are measured against
// the sound as it plays, not against the wall clock.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <iomanip>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "engine/EngineState.h"
#include "engine/Playback.h"
#include "engine/PlayerState.h"
#include "engine/Transport.h"
#include "engine/VideoSink.h"
#include "support/TestName.h"

using namespace vantrel;
using Clock = std::chrono::steady_clock;

namespace {

struct Recording {
  const char* file;
  int seconds;
  int rate;  // pictures a second
};

void PrintTo(const Recording& r, std::ostream* os) {
  *os << r.file;
}

const Recording kRecordings[] = {
    {"lowrate-pcm8k-10fps.AVI", 5, 10},  {"lowrate-pcm11k-5fps.AVI", 5, 5},
    {"lowrate-pcm16k-15fps.AVI", 5, 15}, {"lowrate-aac8k-5fps.mp4", 5, 5},
    {"lowrate-aac11k-15fps.mp4", 5, 15}, {"lowrate-aac16k-10fps.mp4", 5, 10},
};

// Notes how far each picture leads the sound being heard when it is shown,
// and where the sound stands when the playback has ended.
class SyncRecorder : public PlaybackHost, public VideoSink {
 public:
  explicit SyncRecorder(PlayerState& state) : engine_(engineOf(state)) {}

  void postGpsSync(GpsSyncCode, int64_t) override {}
  void showLoading(bool) override {}
  void playbackStarted() override {}
  void playbackReset(bool) override {
    endHeard_ = audioChunkClock(engine_.audioChunks, Clock::now()).media;
  }
  void playbackFailed(const std::string&) override {}
  void advancePlaylist() override {}
  VideoSink* videoSink() override { return this; }

  void presentFrame(std::shared_ptr<const BgrFrame> frame) override {
    const double heard = audioChunkClock(engine_.audioChunks, Clock::now()).media;
    std::lock_guard<std::mutex> hold(lock_);
    ++shown_;
    maxLead_ = std::max(maxLead_, frame->time - heard);
  }

  int shown() const { return shown_; }
  double maxLead() const { return maxLead_; }
  double endHeard() const { return endHeard_; }

 private:
  EngineState& engine_;
  std::mutex lock_;
  int shown_ = 0;
  double maxLead_ = -1e9;
  double endHeard_ = -1.0;
};

}  // namespace

class SoundSync : public testing::TestWithParam<Recording> {
 protected:
  void SetUp() override { setenv("SDL_AUDIODRIVER", "dummy", 0); }
};

TEST_P(SoundSync, PicturesNeverLeadTheSoundWhichIsHeardToTheEnd) {
  const Recording& r = GetParam();
  PlayerState state;
  state.volume = 80;
  state.setFileName(std::string(VANTREL_FIXTURES) + "/" + r.file);
  SyncRecorder recorder(state);
  double sound = 0.0;
  ASSERT_EQ(playFile(state, recorder, nullptr, &sound), 100);
  EXPECT_EQ(recorder.shown(), r.seconds * r.rate);
  // A picture may go exactly 0.1 s ahead, and the subtraction that measures
  // the lead may round a hair past that.
  EXPECT_LE(recorder.maxLead(), 0.1 + 1e-9) << std::setprecision(17) << recorder.maxLead();
  // All the sound was handed to the device and heard before the end.
  EXPECT_NEAR(sound, r.seconds, 0.2);
  EXPECT_NEAR(recorder.endHeard(), r.seconds, 0.2);
}

INSTANTIATE_TEST_SUITE_P(LowRates, SoundSync, testing::ValuesIn(kRecordings),
                         [](const testing::TestParamInfo<Recording>& info) {
                           return testsupport::testName(info.param.file);
                         });

namespace {

// Where the clocks stood as each picture was shown: the one the pictures are
// paced against and the sound heard.
class ClockRecorder : public SyncRecorder {
 public:
  explicit ClockRecorder(PlayerState& state) : SyncRecorder(state), state_(state) {}

  struct Shown {
    double time, clock, heard;
  };

  void presentFrame(std::shared_ptr<const BgrFrame> frame) override {
    const double heard = audioChunkClock(engineOf(state_).audioChunks, Clock::now()).media;
    std::lock_guard<std::mutex> hold(lock_);
    shown_.push_back({frame->time, state_.audioClock.load(), heard});
  }
  // The first picture shown at or after `from`, if any.
  std::optional<Shown> firstFrom(double from) {
    std::lock_guard<std::mutex> hold(lock_);
    for (const Shown& s : shown_) {
      if (s.time >= from) return s;
    }
    return std::nullopt;
  }

 private:
  PlayerState& state_;
  std::mutex lock_;
  std::vector<Shown> shown_;
};

}  // namespace

// While the decoder works towards the first picture of a playback, or from a
// key picture to a seek's target, neither the sound nor the clock the
// pictures are paced against runs on: the picture starts in step, not behind.
TEST(SoundWait, TheClocksStandUntilTheFirstPictureOfAPlaybackOrASeek) {
  setenv("SDL_AUDIODRIVER", "dummy", 0);
  struct Case {
    const char* file;
    double seekTo;  // < 0: the playback's own start
    bool sound;
  };
  const Case cases[] = {
      {"play-aac.mp4", -1, true},
      {"play-aac.mp4", 6.5, true},  // 12 pictures on from the key picture at 6
      {"play-silent.mp4", -1, false},
      {"play-silent.mp4", 2.5, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.file) + " from " + std::to_string(c.seekTo));
    PlayerState state;
    state.volume = 80;
    state.setFileName(std::string(VANTREL_FIXTURES) + "/" + c.file);
    ClockRecorder recorder(state);
    Playback playback(state, recorder, nullptr);
    ASSERT_TRUE(playback.start());
    const double start = std::max(c.seekTo, 0.0);
    const auto wait = [&](double from) {
      const auto deadline = Clock::now() + std::chrono::seconds(15);
      while (!recorder.firstFrom(from) && Clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
      }
      return recorder.firstFrom(from);
    };
    if (c.seekTo >= 0) {
      ASSERT_TRUE(wait(0.5));
      ASSERT_TRUE(requestSeek(state, c.seekTo));
    }
    // The target's picture is the one at or before it (25 a second).
    const std::optional<ClockRecorder::Shown> first = wait(start - 0.04 + 1e-6);
    ASSERT_TRUE(first);
    EXPECT_NEAR(first->time, start, 0.04);
    // Where the playback or the seek put them; the sound starts again at a
    // tick of its own time base (a millisecond).
    EXPECT_NEAR(first->clock, start, c.sound ? 1e-3 : 1e-9);
    if (c.sound) EXPECT_EQ(first->heard, first->clock);
    playback.stopAndJoin();
  }
}
