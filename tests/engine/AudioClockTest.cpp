#include <gtest/gtest.h>

#include "engine/AudioClock.h"

using namespace vantrel;
using std::chrono::milliseconds;

namespace {
const AudioClock::Time t0 = std::chrono::steady_clock::now();
}  // namespace

// Between two callbacks the clock follows the buffer as it plays, and stops
// at its end when no more sound comes.
TEST(AudioClock, RunsThroughTheHandedBufferAndStopsAtItsEnd) {
  struct Case {
    int afterMs;
    double media;
    double silent;
  };
  AudioClock clock;
  clock.restart(0.0, t0);
  clock.handed(4.0, 4.032, 0.032, t0);  // 256 frames at 8 kHz
  const Case cases[] = {{0, 4.0, 0},        {16, 4.016, 0},    {32, 4.032, 0},
                        {50, 4.032, 0.018}, {532, 4.032, 0.5}, {-5, 4.0, 0}};
  for (const Case& c : cases) {
    const AudioClock::Time now = t0 + milliseconds(c.afterMs);
    EXPECT_NEAR(clock.at(now), c.media, 1e-9) << c.afterMs;
    EXPECT_NEAR(clock.silentFor(now), c.silent, 1e-9) << c.afterMs;
  }
}

// Sound played at another speed: the buffer spans more (or less) media time
// than it plays for.
TEST(AudioClock, FollowsMediaTimeAtTheSpeedTheBufferCarries) {
  AudioClock clock;
  clock.handed(10.0, 10.080, 0.040, t0);  // twice as fast
  EXPECT_NEAR(clock.at(t0 + milliseconds(20)), 10.040, 1e-9);
  EXPECT_NEAR(clock.at(t0 + milliseconds(60)), 10.080, 1e-9);
}

// A seek or a new playback: the target is read until sound from there is
// handed over, and the silence is counted from the restart.
TEST(AudioClock, ARestartReadsItsTargetUntilSoundComes) {
  AudioClock clock;
  clock.handed(75.0, 75.032, 0.032, t0);
  clock.restart(20.0, t0 + milliseconds(10));
  EXPECT_EQ(clock.at(t0 + milliseconds(10)), 20.0);
  EXPECT_EQ(clock.at(t0 + milliseconds(400)), 20.0);
  EXPECT_NEAR(clock.silentFor(t0 + milliseconds(410)), 0.4, 1e-9);
  clock.handed(20.0, 20.032, 0.032, t0 + milliseconds(420));
  EXPECT_NEAR(clock.at(t0 + milliseconds(436)), 20.016, 1e-9);
  EXPECT_EQ(clock.silentFor(t0 + milliseconds(436)), 0.0);
}
