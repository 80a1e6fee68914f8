#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "engine/AudioDecoder.h"
#include "engine/EngineState.h"

extern "C" {
#include <libavformat/avformat.h>
}

#include "engine/AudioOutput.h"
#include "engine/PlayerState.h"
#include "support/TestName.h"

using namespace vantrel;

namespace {

struct Recording {
  const char* file;
  double seconds;
  bool mono;  // one channel in the file: both device channels must carry it
};

const Recording kRecordings[] = {
    {"play-aac.mp4", 10.0, false},
    {"play-mono.MOV", 3.0, true},
    {"play-pcm.AVI", 3.0, false},
    {"play-mp3.mp4", 3.0, false},
};

void PrintTo(const Recording& r, std::ostream* os) {
  *os << r.file;
}

std::string fixture(const char* name) {
  return std::string(VANTREL_FIXTURES) + "/" + name;
}

}  // namespace

// The decoder on real recordings; the test plays the device's part by
// calling the callback's fill by hand, so nothing runs in real time.
class AudioDecoding : public testing::TestWithParam<Recording> {
 protected:
  void SetUp() override {
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    state.volume = 128;
    ASSERT_EQ(avformat_open_input(&engine.formatContext, fixture(GetParam().file).c_str(), nullptr,
                                  nullptr),
              0);
    ASSERT_GE(avformat_find_stream_info(engine.formatContext, nullptr), 0);
    index = av_find_best_stream(engine.formatContext, AVMEDIA_TYPE_AUDIO, -1, -1, nullptr, 0);
    ASSERT_GE(index, 0);
    AVStream* stream = engine.formatContext->streams[index];
    ASSERT_EQ(output.open(stream->codecpar->sample_rate), 0);
    ASSERT_EQ(decoder.open(stream), 0);
    state.playState = Playing;  // the device takes sound only while playing
  }
  void TearDown() override {
    requestStop(state);
    decoder.join();
    decoder.close();
    output.close();
    audioPacketListClear(engine.audioPackets);
    avformat_close_input(&engine.formatContext);
  }
  // Every audio packet of the file into the list, as the demuxer would.
  void demuxAll() {
    AVPacket* packet = av_packet_alloc();
    while (av_read_frame(engine.formatContext, packet) >= 0) {
      if (packet->stream_index == index) {
        std::lock_guard<std::mutex> hold(engine.audioPackets.lock);
        audioPacketAppend(engine.audioPackets, av_packet_clone(packet));
      }
      av_packet_unref(packet);
    }
    av_packet_free(&packet);
  }
  // Waits until the decoder has added sound and then stopped; returns what waits.
  // An empty queue is not settled: on a busy machine the decoder thread may
  // not have run yet. One that stays empty for 10 s fails the caller.
  size_t settledQueuedBytes() {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    size_t last = SIZE_MAX, now = audioChunkQueuedBytes(engine.audioChunks);
    while ((now != last || now == 0) && std::chrono::steady_clock::now() < deadline) {
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
      last = now;
      now = audioChunkQueuedBytes(engine.audioChunks);
    }
    return now;
  }

  PlayerState state;
  EngineState& engine = engineOf(state);
  AudioOutput output{state};
  AudioDecoder decoder{state};
  int index = -1;
};

TEST_P(AudioDecoding, DecodesAtMostASecondAheadAndNeverMovesTheClock) {
  demuxAll();
  decoder.start(output.rate(), output.channels());
  const size_t waiting = settledQueuedBytes();
  const size_t second = static_cast<size_t>(output.bytesPerSecond());
  EXPECT_GE(waiting, second * 9 / 10);
  EXPECT_LE(waiting, second * 12 / 10);  // a second plus at most one decoded frame
  EXPECT_EQ(audioChunkClock(engine.audioChunks, std::chrono::steady_clock::now()).media, 0.0)
      << "only the device may advance the clock";
  EXPECT_FALSE(decoder.drained());
}

TEST_P(AudioDecoding, EverySecondOfTheFileReachesTheDeviceInOrder) {
  demuxAll();
  decoder.start(output.rate(), output.channels());
  std::vector<int16_t> buffer(2048);
  double lastClock = -1.0;
  int16_t peak = 0;
  bool channelsEqual = true;
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
  while (!decoder.drained() && std::chrono::steady_clock::now() < deadline) {
    output.fill(reinterpret_cast<uint8_t*>(buffer.data()), 4096);
    // Where the sound handed over so far ends.
    const double clock = audioChunkClock(engine.audioChunks,
                                         std::chrono::steady_clock::now() + std::chrono::hours(1))
                             .media;
    ASSERT_GE(clock, lastClock);
    lastClock = clock;
    for (size_t i = 0; i + 1 < buffer.size(); i += 2) {
      peak = std::max<int16_t>(peak, buffer[i]);
      channelsEqual = channelsEqual && buffer[i] == buffer[i + 1];
    }
  }
  ASSERT_TRUE(decoder.drained());
  EXPECT_NEAR(output.secondsPlayed(), GetParam().seconds, 0.1);
  EXPECT_NEAR(lastClock, GetParam().seconds, 0.1);
  EXPECT_GT(peak, 2000) << "the test tone is loud; silence means a lost path";
  if (GetParam().mono) {
    EXPECT_TRUE(channelsEqual);
  }
}

INSTANTIATE_TEST_SUITE_P(SoundPaths, AudioDecoding, testing::ValuesIn(kRecordings),
                         [](const testing::TestParamInfo<Recording>& info) {
                           return testsupport::testName(info.param.file);
                         });

TEST(AudioDecoderOpen, ACodecWithoutADecoderIsUnsupported) {
  PlayerState state;
  AudioDecoder decoder(state);
  AVFormatContext* format = avformat_alloc_context();
  AVStream* stream = avformat_new_stream(format, nullptr);
  stream->codecpar->codec_type = AVMEDIA_TYPE_AUDIO;
  stream->codecpar->codec_id = AV_CODEC_ID_NONE;
  testing::internal::CaptureStderr();
  EXPECT_EQ(decoder.open(stream), -1);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "Unsupported codec!\n");
  avformat_free_context(format);
}
