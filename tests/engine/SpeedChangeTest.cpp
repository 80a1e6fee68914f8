// The sound at the playback speeds, as the device callback hands it over:
// the decoded blocks go through the tempo filter, and the clock of what was
// handed over runs at the speed, without a jump or a lost piece when the
// speed changes between two callbacks.
#include <SDL2/SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "engine/AudioOutput.h"
#include "engine/EngineState.h"
#include "engine/PlayerState.h"

using namespace vantrel;

namespace {

constexpr int kRate = 48000;
constexpr double kBytesPerSecond = kRate * 2 * 2;
// Short callbacks (2.7 ms), so that a jump of the clock inside the filter's
// window could not hide inside one of them.
constexpr size_t kCallbackBytes = 512;
constexpr size_t kBlockFrames = 1024;  // as an AAC decoder hands them out
constexpr double kStart = 5.0;         // media time of the first decoded sample

struct Handed {
  double start, end;  // media times
  double speed;       // in effect when it was handed over
};

class CallbackAtSpeeds : public testing::Test {
 protected:
  void SetUp() override {
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    ASSERT_EQ(output.open(kRate), 0);
    ASSERT_EQ(output.channels(), 2);
    state.volume = SDL_MIX_MAXVOLUME;
    state.playState = Playing;
    audioChunkListRestart(engine.audioChunks, kStart);
  }

  // seconds of a 440 Hz tone, decoded blocks with their exact media times,
  // rounded up to whole blocks; returns the seconds decoded.
  double decode(double seconds) {
    const size_t frames = static_cast<size_t>(seconds * kRate);
    size_t at = 0;
    for (; at < frames; at += kBlockFrames) {
      std::vector<int16_t> block(kBlockFrames * 2);
      for (size_t i = 0; i < kBlockFrames; ++i) {
        const double t = static_cast<double>(at + i) / kRate;
        block[2 * i] = block[2 * i + 1] = static_cast<int16_t>(8000 * std::sin(2 * M_PI * 440 * t));
      }
      audioChunkAppend(engine.audioChunks, reinterpret_cast<uint8_t*>(block.data()),
                       block.size() * 2, kStart + static_cast<double>(at) / kRate,
                       audioChunkSerial(engine.audioChunks));
    }
    return static_cast<double>(at) / kRate;
  }

  // One callback; what it handed over, read back from the clock.
  Handed callback() {
    std::vector<uint8_t> device(kCallbackBytes);
    output.fill(device.data(), static_cast<int>(device.size()));
    const auto now = std::chrono::steady_clock::now();
    // Before the callback's moment the clock stands at the start of what it
    // handed over; a second later at its end.
    return {audioChunkClock(engine.audioChunks, now - std::chrono::seconds(1)).media,
            audioChunkClock(engine.audioChunks, now + std::chrono::seconds(1)).media,
            state.speed.load()};
  }

  PlayerState state;
  EngineState& engine = engineOf(state);
  AudioOutput output{state};
};

}  // namespace

// Each speed for 200 callbacks (half a second), in an order that goes both
// ways and through the two-stage filters (0.25, 4).
TEST_F(CallbackAtSpeeds, TheClockRunsAtTheSpeedAndGoesOnWithoutAJumpWhenItChanges) {
  const double speeds[] = {1.0, 2.0, 0.5, 4.0, 0.25, 1.25, 1.0, 0.75, 1.5, 1.0};
  constexpr int kPerSpeed = 200;
  const double played = kCallbackBytes / kBytesPerSecond;
  decode(10.0);
  std::vector<Handed> handed;
  for (double speed : speeds) {
    state.speed = speed;
    for (int i = 0; i < kPerSpeed; ++i) handed.push_back(callback());
  }
  for (size_t i = 1; i < handed.size(); ++i) {
    // What one callback hands over starts where the one before ended, and
    // moves forward no faster than the faster of the speed set and the one
    // before it (sound made before a change still plays): no sound is
    // skipped or played twice across a change.
    ASSERT_NEAR(handed[i].start, handed[i - 1].end, 1e-9) << "callback " << i;
    const double before = i >= kPerSpeed ? handed[i - kPerSpeed].speed : handed[i].speed;
    const double fastest = std::max(handed[i].speed, before);
    ASSERT_GE(handed[i].end, handed[i].start) << "callback " << i;
    ASSERT_LE(handed[i].end - handed[i].start, fastest * played * 1.5) << "callback " << i;
  }
  // Away from a change (past what the filter held back), each second
  // played covers `speed` seconds of the recording.
  for (size_t i = 0; i < handed.size(); i += kPerSpeed) {
    const Handed& from = handed[i + 50];
    const Handed& to = handed[i + kPerSpeed - 1];
    EXPECT_NEAR((to.end - from.start) / (played * (kPerSpeed - 50)), from.speed, 0.01 * from.speed)
        << "speed " << from.speed;
  }
}

// At the end of the decoded sound the filter gives up what it holds: every
// decoded second is heard, at any speed.
TEST_F(CallbackAtSpeeds, TheLastDecodedSoundIsHeardAtEverySpeed) {
  for (double speed : {0.25, 0.5, 2.0, 4.0}) {
    audioChunkListRestart(engine.audioChunks, kStart);
    state.speed = speed;
    const double decoded = decode(1.0);
    double end = kStart;
    for (int i = 0; i < 5000 && audioChunkQueuedBytes(engine.audioChunks) > 0; ++i) {
      end = callback().end;
    }
    EXPECT_EQ(audioChunkQueuedBytes(engine.audioChunks), 0u) << speed;
    EXPECT_NEAR(end, kStart + decoded, 1e-6) << speed;
  }
}

// A seek drops what the filter held from before it.
TEST_F(CallbackAtSpeeds, ASeekForgetsTheSoundHeldInTheFilter) {
  state.speed = 2.0;
  decode(1.0);
  callback();
  audioChunkListRestart(engine.audioChunks, 30.0);
  EXPECT_EQ(audioChunkQueuedBytes(engine.audioChunks), 0u);
  std::vector<int16_t> block(kBlockFrames * 2, 500);
  for (int i = 0; i < 20; ++i) {
    audioChunkAppend(engine.audioChunks, reinterpret_cast<uint8_t*>(block.data()), block.size() * 2,
                     30.0 + i * static_cast<double>(kBlockFrames) / kRate,
                     audioChunkSerial(engine.audioChunks));
  }
  const Handed first = callback();
  EXPECT_NEAR(first.start, 30.0, 1e-9);
}
