#include <SDL2/SDL.h>
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <numeric>
#include <string>
#include <thread>
#include <vector>

#include "engine/AudioOutput.h"
#include "engine/EngineState.h"

extern "C" {
#include <libavutil/channel_layout.h>
}

#include "engine/PlayerState.h"

using namespace vantrel;

// The clock learns where the sound is once per device buffer: at 8 kHz a
// buffer of 1024 frames would leave it standing for 128 ms. The dummy device
// keeps better time with long buffers.
TEST(AudioDeviceBuffer, PlaysForTwentyToFortyMillisecondsAtEveryRate) {
  struct Case {
    int rate, frames, dummyFrames;
  };
  const Case cases[] = {{8000, 256, 512},    {11025, 256, 512},   {16000, 512, 1024},
                        {22050, 512, 1024},  {32000, 1024, 2048}, {44100, 1024, 2048},
                        {48000, 1024, 2048}, {96000, 2048, 4096}};
  for (const Case& c : cases) {
    EXPECT_EQ(deviceBufferFrames(c.rate, false), c.frames) << c.rate;
    EXPECT_LE(c.frames, c.rate * 0.040) << c.rate;
    EXPECT_GE(c.frames, c.rate * 0.020) << c.rate;
    EXPECT_EQ(deviceBufferFrames(c.rate, true), c.dummyFrames) << c.rate;
  }
}

TEST(AudioChannels, FallbackTableGivesTheNextCountToTry) {
  const int expected[] = {0, 0, 1, 6, 2, 6, 4, 6, 6, 6};
  for (int refused = 0; refused < 10; ++refused) {
    EXPECT_EQ(nextChannelCount(refused), expected[refused]) << refused;
  }
}

namespace {
// An opener that refuses every count in `refused` and records each try.
struct RefusingOpener {
  std::vector<int> refused;
  std::vector<int> tried;
  SDL_AudioDeviceID operator()(const SDL_AudioSpec& desired, SDL_AudioSpec* obtained) {
    tried.push_back(desired.channels);
    for (int r : refused) {
      if (r == desired.channels) {
        SDL_SetError("refused");
        return 0;
      }
    }
    return SDL_OpenAudioDevice(nullptr, 0, &desired, obtained, 0);
  }
};
}  // namespace

class AudioDevice : public testing::Test {
 protected:
  void SetUp() override { setenv("SDL_AUDIODRIVER", "dummy", 0); }
  PlayerState state;
  EngineState& engine = engineOf(state);
};

TEST_F(AudioDevice, RefusedStereoFallsBackToMonoAndSaysSo) {
  RefusingOpener opener{{2}, {}};
  AudioOutput output(state);
  testing::internal::CaptureStderr();
  ASSERT_EQ(output.open(44100, std::ref(opener)), 0);
  const std::string err = testing::internal::GetCapturedStderr();
  EXPECT_EQ(opener.tried, (std::vector<int>{2, 1}));
  EXPECT_NE(err.find("SDL_OpenAudio (2 channels): refused\n"), std::string::npos) << err;
  EXPECT_EQ(output.channels(), 1);
  EXPECT_EQ(output.rate(), 44100);
  EXPECT_EQ(engine.audioTargetChannels, 1);
  EXPECT_EQ(engine.audioTargetLayout, AV_CH_LAYOUT_MONO);
  EXPECT_EQ(engine.audioTargetRate, 44100);
}

TEST_F(AudioDevice, RefusingEveryCountFailsTheOpen) {
  RefusingOpener opener{{2, 1}, {}};
  AudioOutput output(state);
  testing::internal::CaptureStderr();
  EXPECT_EQ(output.open(48000, std::ref(opener)), -1);
  const std::string err = testing::internal::GetCapturedStderr();
  EXPECT_NE(err.find("SDL_OpenAudio (1 channels): refused\n"
                     "No more channel combinations to tyu, audio open failed\n"),
            std::string::npos)
      << err;
}

TEST_F(AudioDevice, ARateOfZeroIsRefusedBeforeTheDevice) {
  AudioOutput output(state);
  EXPECT_EQ(output.open(0), -1);
}

// SDL would otherwise take SIGINT and SIGTERM for an event queue nobody reads,
// and the window could not be ended by them while it plays.
TEST_F(AudioDevice, AnOpenDeviceLeavesTheTerminationSignalsAlone) {
  AudioOutput output(state);
  ASSERT_EQ(output.open(48000), 0);
  for (int signal : {SIGINT, SIGTERM}) {
    struct sigaction action {};
    ASSERT_EQ(sigaction(signal, nullptr, &action), 0);
    EXPECT_EQ(action.sa_handler, SIG_DFL) << signal;
  }
}

// The callback's work, driven by hand on an opened but never started device.
class AudioCallback : public AudioDevice {
 protected:
  void SetUp() override {
    AudioDevice::SetUp();
    ASSERT_EQ(output.open(48000), 0);  // stereo: 192000 bytes per second
    ASSERT_EQ(output.channels(), 2);
    state.volume = SDL_MIX_MAXVOLUME;
    state.playState = Playing;
  }
  // The clock a second after the last callback: the end of what it handed over.
  double clockAfterBuffer() {
    return audioChunkClock(engine.audioChunks,
                           std::chrono::steady_clock::now() + std::chrono::seconds(1))
        .media;
  }
  // Appends a block of `bytes` whose samples count up from `first`.
  void queue(size_t bytes, double time, int16_t first) {
    std::vector<int16_t> samples(bytes / 2);
    std::iota(samples.begin(), samples.end(), first);
    audioChunkAppend(engine.audioChunks, reinterpret_cast<uint8_t*>(samples.data()), bytes, time,
                     audioChunkSerial(engine.audioChunks));
  }
  std::vector<int16_t> pull(size_t bytes) {
    std::vector<int16_t> device(bytes / 2, 12345);  // the callback must overwrite it all
    output.fill(reinterpret_cast<uint8_t*>(device.data()), static_cast<int>(bytes));
    return device;
  }
  AudioOutput output{state};
};

TEST_F(AudioCallback, FillsTheWholeBufferFromSeveralBlocksAndKeepsTheRest) {
  queue(1000, 1.0, 0);
  queue(2000, 1.0 + 1000.0 / 192000, 500);
  queue(5000, 1.0 + 3000.0 / 192000, 1500);
  std::vector<int16_t> got = pull(4096);
  for (size_t i = 0; i < got.size(); ++i) ASSERT_EQ(got[i], static_cast<int16_t>(i)) << i;
  // The buffer plays for 21 ms: the clock starts at its first sample and
  // ends at its last.
  EXPECT_NEAR(audioChunkClock(engine.audioChunks, std::chrono::steady_clock::now()).media, 1.0,
              0.005);
  EXPECT_DOUBLE_EQ(clockAfterBuffer(), 1.0 + 4096.0 / 192000);
  EXPECT_EQ(audioChunkQueuedBytes(engine.audioChunks), 8000u - 4096u);
  // The next call continues inside the third block, and the clock with it.
  got = pull(4096);
  for (size_t i = 0; i < 3904 / 2; ++i) ASSERT_EQ(got[i], static_cast<int16_t>(2048 + i)) << i;
  for (size_t i = 3904 / 2; i < got.size(); ++i) ASSERT_EQ(got[i], 0) << i;
  EXPECT_DOUBLE_EQ(clockAfterBuffer(), 1.0 + 8000.0 / 192000);
  EXPECT_EQ(audioChunkQueuedBytes(engine.audioChunks), 0u);
  EXPECT_NEAR(output.secondsPlayed(), 8000.0 / 192000, 1e-9);
}

TEST_F(AudioCallback, NothingDecodedGivesSilenceAndLeavesTheClock) {
  audioChunkListRestart(engine.audioChunks, 2.5);
  std::vector<int16_t> got = pull(4096);
  EXPECT_TRUE(std::all_of(got.begin(), got.end(), [](int16_t s) { return s == 0; }));
  EXPECT_EQ(clockAfterBuffer(), 2.5);
  EXPECT_EQ(output.secondsPlayed(), 0.0);
}

TEST_F(AudioCallback, PausedOrQuittingTakesNothing) {
  for (int which = 0; which < 2; ++which) {
    queue(4096, 3.0, 100);
    if (which == 0) {
      state.playState = Paused;
    } else {
      state.quit = true;
    }
    std::vector<int16_t> got = pull(4096);
    EXPECT_TRUE(std::all_of(got.begin(), got.end(), [](int16_t s) { return s == 0; }));
    EXPECT_EQ(audioChunkQueuedBytes(engine.audioChunks), 4096u);
    EXPECT_EQ(clockAfterBuffer(), 0.0);
    state.playState = Playing;
    state.quit = false;
    audioChunkListClear(engine.audioChunks);
  }
}

TEST_F(AudioCallback, VolumeScalesTheSound) {
  struct Case {
    int volume;
    int16_t expected;  // for a sample of 1000
  };
  for (Case c : {Case{128, 1000}, Case{64, 500}, Case{0, 0}, Case{500, 1000}}) {
    std::vector<int16_t> block(2048, 1000);
    audioChunkAppend(engine.audioChunks, reinterpret_cast<uint8_t*>(block.data()), 4096, 0.0,
                     audioChunkSerial(engine.audioChunks));
    state.volume = c.volume;
    std::vector<int16_t> got = pull(4096);
    EXPECT_NEAR(got[0], c.expected, 1) << c.volume;
    EXPECT_EQ(audioChunkQueuedBytes(engine.audioChunks), 0u);
  }
}

TEST_F(AudioCallback, BlocksDecodedBeforeASeekAreRefused) {
  const uint64_t before = audioChunkSerial(engine.audioChunks);
  queue(4096, 7.0, 1);
  audioChunkListClear(engine.audioChunks);  // the demuxer's seek
  std::vector<int16_t> block(16, 1);
  EXPECT_FALSE(audioChunkAppend(engine.audioChunks, reinterpret_cast<uint8_t*>(block.data()), 32,
                                7.1, before));
  EXPECT_EQ(audioChunkQueuedBytes(engine.audioChunks), 0u);
}

namespace {

// Wake-ups (context switches) of SDL's device thread so far; -1 when no
// such thread runs.
long deviceThreadWakeups() {
  for (const auto& task : std::filesystem::directory_iterator("/proc/self/task")) {
    std::ifstream comm(task.path() / "comm");
    std::string name;
    std::getline(comm, name);
    if (name.rfind("SDLAudio", 0) != 0) continue;
    std::ifstream status(task.path() / "status");
    long total = 0;
    for (std::string line; std::getline(status, line);) {
      if (line.find("ctxt_switches:") != std::string::npos) {
        total += std::stol(line.substr(line.find(':') + 1));
      }
    }
    return total;
  }
  return -1;
}

long wakeupsOver(std::chrono::milliseconds span) {
  const long before = deviceThreadWakeups();
  std::this_thread::sleep_for(span);
  return deviceThreadWakeups() - before;
}

}  // namespace

// A paused playback holds the device: its thread sleeps instead of waking for
// every buffer of silence, plays on once released, and closing a held device
// does not wait for ever.
TEST_F(AudioDevice, AHeldDeviceThreadSleepsUntilReleased) {
  AudioOutput output(state);
  ASSERT_EQ(output.open(48000), 0);
  output.start();
  // The thread names itself once it runs.
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
  while (deviceThreadWakeups() < 0 && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  ASSERT_GE(deviceThreadWakeups(), 0);
  const auto span = std::chrono::milliseconds(500);  // about eight 64 ms buffers
  EXPECT_GE(wakeupsOver(span), 3) << "running";
  output.hold();
  wakeupsOver(std::chrono::milliseconds(100));  // a buffer under way ends
  EXPECT_LE(wakeupsOver(span), 1) << "held";
  output.release();
  EXPECT_GE(wakeupsOver(span), 3) << "released";
  output.hold();
  output.close();
  EXPECT_EQ(deviceThreadWakeups(), -1);
}
