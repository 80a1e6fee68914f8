// A decoder that falls behind the sound by a known amount catches up at a key
// picture. The screen takes 1.5 s over one picture (the display stands, and
// the decoder with it at the picture slot) while the sound plays on; the
// recording's pictures carry their number and a key picture every second.
#include <gtest/gtest.h>

#include <chrono>
#include <mutex>
#include <thread>
#include <vector>

#include "engine/EngineState.h"
#include "engine/NumberRecorder.h"
#include "engine/Playback.h"
#include "engine/PlayerState.h"
#include "engine/Transport.h"

using namespace vantrel;
using Clock = std::chrono::steady_clock;

namespace {

constexpr int kRate = 30;
constexpr int kKeyInterval = 30;  // pictures
constexpr double kHoldSeconds = 1.5;
constexpr size_t kHeldPicture = 3;  // the sound has started by then

// Notes the sound being heard as each picture reaches the screen, and holds
// the third picture for kHoldSeconds.
class HoldingRecorder : public NumberRecorder {
 public:
  explicit HoldingRecorder(PlayerState& state) : engine_(engineOf(state)) {}

  void presentFrame(std::shared_ptr<const BgrFrame> frame) override {
    const double heard = audioChunkClock(engine_.audioChunks, Clock::now()).media;
    {
      std::lock_guard<std::mutex> hold(lock_);
      heard_.push_back(heard);
    }
    NumberRecorder::presentFrame(std::move(frame));
    if (count() == kHeldPicture) {
      std::this_thread::sleep_for(std::chrono::duration<double>(kHoldSeconds));
    }
  }
  std::vector<double> heard() {
    std::lock_guard<std::mutex> hold(lock_);
    return heard_;
  }

 private:
  EngineState& engine_;
  std::mutex lock_;
  std::vector<double> heard_;
};

}  // namespace

TEST(CatchUp, AfterFallingBehindThePicturesAreBackInStepWithinAKeyInterval) {
  setenv("SDL_AUDIODRIVER", "dummy", 0);
  PlayerState state;
  HoldingRecorder recorder(state);
  Playback playback{state, recorder, nullptr};
  state.volume = 80;
  state.setFileName(std::string(VANTREL_FIXTURES) + "/numbered-gop1.mp4");
  ASSERT_TRUE(playback.start());
  ASSERT_TRUE(recorder.waitFor([&] { return state.finished.load(); }, 30000));
  const PlaybackStats stats = state.display.stats();
  stopPlayback(state);
  playback.stopAndJoin();

  const auto shown = recorder.shown();
  const auto heard = recorder.heard();
  ASSERT_GT(shown.size(), kHeldPicture);
  ASSERT_EQ(heard.size(), shown.size());
  // The sound had run on by the hold when the next picture came.
  const double caughtUpBy = heard[kHeldPicture] + kKeyInterval / static_cast<double>(kRate);
  ASSERT_GT(heard[kHeldPicture] - shown[kHeldPicture].time, 1.0);

  int64_t missing = 0;
  int gaps = 0;
  int inStepChecked = 0;
  for (size_t i = 0; i < shown.size(); ++i) {
    SCOPED_TRACE(testing::Message() << "picture " << shown[i].number << " heard " << heard[i]);
    // Decoding went on cleanly from the key picture: each shows its own number.
    EXPECT_EQ(shown[i].number, std::lround(shown[i].time * kRate));
    if (i > 0 && shown[i].number > shown[i - 1].number + 1) {
      missing += shown[i].number - shown[i - 1].number - 1;
      ++gaps;
      EXPECT_EQ(shown[i].number % kKeyInterval, 0) << "went on from a key picture";
    }
    if (heard[i] >= caughtUpBy) {
      EXPECT_NEAR(shown[i].time, heard[i], 0.1);
      ++inStepChecked;
    }
  }
  EXPECT_GE(gaps, 1);
  EXPECT_GT(inStepChecked, 2 * kRate);
  EXPECT_EQ(shown.back().number, 6 * kRate - 1) << "played to its last picture";
  EXPECT_EQ(stats.dropped, missing) << "the pictures left out count as dropped";
  EXPECT_EQ(stats.shown, static_cast<int64_t>(shown.size()));
}
