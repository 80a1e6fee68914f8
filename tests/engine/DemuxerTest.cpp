#include <gtest/gtest.h>

#include <atomic>
#include <map>
#include <string>
#include <thread>

#include "engine/Demuxer.h"
#include "engine/EngineState.h"
#include "engine/PlayerState.h"
#include "engine/VideoRecording.h"
#include "support/ProcessState.h"

extern "C" {
#include <libavformat/avformat.h>
}

using namespace vantrel;
using videotest::VideoRecording;

namespace {

// Packets per stream index, read straight from the file.
std::map<int, int> packetsPerStream(const char* name) {
  std::map<int, int> counts;
  AVFormatContext* format = nullptr;
  if (avformat_open_input(&format, videotest::fixture(name).c_str(), nullptr, nullptr) != 0) {
    return counts;
  }
  AVPacket* packet = av_packet_alloc();
  while (av_read_frame(format, packet) >= 0) {
    if (packet->size > 0) counts[packet->stream_index]++;
    av_packet_unref(packet);
  }
  av_packet_free(&packet);
  avformat_close_input(&format);
  return counts;
}

size_t audioListSize(EngineState& engine) {
  std::lock_guard<std::mutex> hold(engine.audioPackets.lock);
  return engine.audioPackets.entries.size();
}

double seconds(int64_t ts, const AVStream* stream) {
  return ts * av_q2d(stream->time_base);
}

// Reads until the video queue holds a packet after the flush marker; its pts
// in seconds, or -1 when the file ends first.
double firstVideoTimeAfterSeek(EngineState& engine, Demuxer& demuxer) {
  while (demuxer.readPacket()) {
    std::lock_guard<std::mutex> hold(engine.videoQueue.lock);
    if (engine.videoQueue.entries.size() >= 2) {
      return seconds(engine.videoQueue.entries[1]->pts, engine.videoStream);
    }
  }
  return -1;
}

double queuedVideoSeconds(EngineState& engine) {
  std::lock_guard<std::mutex> hold(engine.videoQueue.lock);
  return engine.videoQueue.durationTicks * av_q2d(engine.videoStream->time_base);
}

}  // namespace

TEST(Demuxer, VideoToTheQueueAudioToTheListTheGpsTextNowhere) {
  const std::map<int, int> inFile = packetsPerStream("clip.MOV");
  PlayerState state;
  EngineState& engine = engineOf(state);
  VideoRecording recording(state, "clip.MOV");
  ASSERT_TRUE(recording.opened());
  ASSERT_EQ(engine.formatContext->nb_streams, 3u);  // video, audio and the GPS text
  int textIndex = 3 - recording.video - recording.audio;
  ASSERT_GT(inFile.at(textIndex), 0);

  Demuxer demuxer(state);
  while (demuxer.readPacket()) {
  }

  std::lock_guard<std::mutex> hold(engine.videoQueue.lock);
  // Every video packet, then the end mark.
  ASSERT_EQ(engine.videoQueue.count, inFile.at(recording.video) + 1);
  for (int i = 0; i < engine.videoQueue.count - 1; ++i) {
    EXPECT_EQ(engine.videoQueue.entries[i]->stream_index, recording.video);
  }
  EXPECT_EQ(engine.videoQueue.entries.back()->size, 0);
  std::lock_guard<std::mutex> holdAudio(engine.audioPackets.lock);
  ASSERT_EQ(static_cast<int>(engine.audioPackets.entries.size()), inFile.at(recording.audio));
  for (const AVPacket* packet : engine.audioPackets.entries) {
    EXPECT_EQ(packet->stream_index, recording.audio);
  }
}

TEST(Demuxer, EndOfFileQueuesOneEndMarkAndSetsTheFlag) {
  PlayerState state;
  EngineState& engine = engineOf(state);
  VideoRecording recording(state, "play-silent.mp4");
  ASSERT_TRUE(recording.opened());
  Demuxer demuxer(state);
  while (demuxer.readPacket()) {
  }
  const int queued = engine.videoQueue.count;
  EXPECT_TRUE(engine.demuxEnded);
  for (int retry = 0; retry < 3; ++retry) EXPECT_FALSE(demuxer.readPacket());
  EXPECT_EQ(engine.videoQueue.count, queued);
  EXPECT_TRUE(engine.demuxEnded);
}

TEST(Demuxer, SeekTargetIsClampedToTheStream) {
  struct Case {
    int64_t target, duration, expected;
  };
  const Case cases[] = {
      {-1, 1000, 0},
      {-900000, 1000, 0},
      {0, 1000, 0},
      {500, 1000, 500},
      {1000, 1000, 1000},
      {1001, 1000, 1000},
      {5000, AV_NOPTS_VALUE, 5000},  // an unknown length does not bound it
  };
  for (const Case& c : cases) {
    EXPECT_EQ(clampSeekTarget(c.target, c.duration), c.expected) << c.target << " " << c.duration;
  }
}

// A seek on a real file: afterwards the queue holds the flush marker and then
// packets from the new position only; no sound from before the seek is left.
class DemuxerSeek : public ::testing::TestWithParam<double> {};

TEST_P(DemuxerSeek, LeavesTheMarkerThenPacketsFromTheNewPosition) {
  const double target = GetParam();
  PlayerState state;
  EngineState& engine = engineOf(state);
  VideoRecording recording(state, "play-aac.mp4");  // 10 s, a key picture every second
  ASSERT_TRUE(recording.opened());
  const AVStream* video = engine.videoStream;
  const double length = seconds(video->duration, video);
  Demuxer demuxer(state);
  for (int i = 0; i < 40; ++i) ASSERT_TRUE(demuxer.readPacket());  // somewhere near 1 s
  const uint8_t sound[4] = {1, 2, 3, 4};
  audioChunkAppend(engine.audioChunks, sound, sizeof sound, 0.5,
                   audioChunkSerial(engine.audioChunks));

  const AVRational videoBase = video->time_base;
  const AVRational audioBase = engine.audioStream->time_base;
  engine.seekTargetVideo = static_cast<int64_t>(target / av_q2d(videoBase));
  engine.seekTargetAudio = static_cast<int64_t>(target / av_q2d(audioBase));
  engine.seekRequest = true;
  demuxer.seek();

  EXPECT_FALSE(engine.seekRequest);
  EXPECT_EQ(audioListSize(engine), 0u);
  EXPECT_EQ(audioChunkQueuedBytes(engine.audioChunks), 0u);
  {
    std::lock_guard<std::mutex> hold(engine.videoQueue.lock);
    ASSERT_EQ(engine.videoQueue.count, 1);
    EXPECT_TRUE(isFlushPacket(engine.videoQueue.entries.front()));
  }
  const double expected = std::clamp(target, 0.0, length);
  const double first = firstVideoTimeAfterSeek(engine, demuxer);
  if (expected >= length) {
    // At the clamped end: nothing, or the last second of the file.
    if (first >= 0) {
      EXPECT_GE(first, length - 1.0);
    }
  } else {
    EXPECT_NEAR(first, expected, 1.0);
  }
}

INSTANTIATE_TEST_SUITE_P(Targets, DemuxerSeek, ::testing::Values(-5.0, 0.0, 2.0, 7.5, 9.9, 60.0));

// A demuxer thread that has read notrack.MOV to its end with nobody taking
// packets (at 4x the read-ahead, 4 s of media, holds the whole 2 s file).
class DemuxerAtTheEnd : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(recording.opened());
    state.speed = 4.0;
    demuxer.start();
    ASSERT_TRUE(waitBounded([&] { return engine.demuxEnded.load(); }, 200, 10));
  }
  void TearDown() override {  // a failed check must not leave the thread running
    requestStop(state);
    demuxer.join();
  }
  PlayerState state;
  EngineState& engine = engineOf(state);
  VideoRecording recording{state, "notrack.MOV"};
  Demuxer demuxer{state};
};

TEST_F(DemuxerAtTheEnd, KeepsRetryingAndLeavesWhenStopped) {
  // At the end it stays: a seek may come.
  EXPECT_EQ(testsupport::threadsNamed({"demux"}), 1);
  requestStop(state);
  demuxer.join();
  EXPECT_EQ(testsupport::threadsNamed({"demux"}), 0);
}

TEST_F(DemuxerAtTheEnd, CarriesOutASeekRequestedThere) {
  engine.seekTargetVideo = 0;
  engine.seekTargetAudio = 0;
  engine.seekRequest = true;
  // The file is read again from the start, up to its end.
  EXPECT_TRUE(waitBounded([&] { return !engine.seekRequest.load(); }, 200, 10));
  EXPECT_TRUE(waitBounded([&] { return engine.demuxEnded.load(); }, 200, 10));
  requestStop(state);
  demuxer.join();
  std::lock_guard<std::mutex> hold(engine.videoQueue.lock);
  int markers = 0;
  for (const AVPacket* packet : engine.videoQueue.entries) markers += isFlushPacket(packet);
  EXPECT_EQ(markers, 1);
}

TEST(Demuxer, PausedThreadLeavesWhenStopped) {
  PlayerState state;
  EngineState& engine = engineOf(state);
  VideoRecording recording(state, "play-silent.mp4");
  ASSERT_TRUE(recording.opened());
  state.paused = true;
  Demuxer demuxer(state);
  demuxer.start();
  ASSERT_TRUE(waitBounded([] { return testsupport::threadsNamed({"demux"}) == 1; }, 200, 10));
  requestStop(state);
  demuxer.join();
  EXPECT_EQ(engine.videoQueue.count, 0);  // paused from the start: nothing was read
}

// With nobody taking packets the thread stops a second of playing time ahead
// instead of holding the recording in memory; sound that lags its pictures
// is read on to.
TEST(Demuxer, ReadsAheadASecondUnlessTheSoundIsStarving) {
  struct Case {
    const char* name;
    bool drainSound;  // a hungry audio decoder: the sound list stays empty
    bool readsToTheEnd;
    double speed;
  };
  for (const Case c :
       {Case{"video-59.9s.mp4", false, false, 1.0}, Case{"video-59.9s.mp4", false, false, 4.0},
        Case{"video-59.9s.mp4", false, false, 0.25}, Case{"play-aac.mp4", false, false, 1.0},
        Case{"play-aac.mp4", true, true, 1.0}}) {
    SCOPED_TRACE(std::string(c.name) + (c.drainSound ? " drained" : "") + " at " +
                 std::to_string(c.speed));
    PlayerState state;
    state.speed = c.speed;
    EngineState& engine = engineOf(state);
    VideoRecording recording(state, c.name);
    ASSERT_TRUE(recording.opened());
    Demuxer demuxer(state);
    std::atomic<bool> draining{c.drainSound};
    std::thread drain([&] {
      while (draining) {
        audioPacketListClear(engine.audioPackets);
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
      }
    });
    demuxer.start();
    const bool ended =
        waitBounded([&] { return engine.demuxEnded.load(); }, c.readsToTheEnd ? 500 : 100, 10);
    EXPECT_EQ(ended, c.readsToTheEnd);
    if (!c.readsToTheEnd) {
      const double ahead = c.speed > 1.0 ? c.speed : 1.0;  // seconds of media
      EXPECT_GE(queuedVideoSeconds(engine), ahead);
      EXPECT_LT(queuedVideoSeconds(engine), ahead + 0.5);
    }
    draining = false;
    drain.join();
    requestStop(state);
    demuxer.join();
  }
}
