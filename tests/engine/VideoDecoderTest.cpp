#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <thread>

#include "engine/EngineState.h"
#include "engine/VideoDecoder.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/cpu.h>
#include <libswscale/swscale.h>
}

#include "engine/Demuxer.h"
#include "engine/PlayerState.h"
#include "engine/RecordingSink.h"
#include "engine/TestFrames.h"
#include "engine/ThreadName.h"
#include "engine/VideoRecording.h"
#include "support/ProcessState.h"
#include "support/TestName.h"

using namespace vantrel;
using namespace vantrel::videotest;

namespace {

// A format context with one video stream of the given timing, no file.
struct FakeStream {
  AVFormatContext* format = avformat_alloc_context();
  AVStream* stream = avformat_new_stream(format, nullptr);
  ~FakeStream() { avformat_free_context(format); }
};

// The display's part in the decoder tests: presents every picture at once,
// unpaced (the clock stands at 0, so the decoder is never behind it), until
// `done` or the wait runs out.
template <typename Done>
bool presentUntil(PlayerState& state, Done done, int timeoutMs = 10000) {
  for (int waited = 0; waited < timeoutMs && !done(); waited += 10) {
    if (state.display.waitForPicture(state, 10)) state.display.presentPicture(state, false);
  }
  return done();
}

int64_t frameCount(const AVStream* stream) {
  return stream->nb_frames;
}

// A recording's pictures through the demuxer, the decoder and the display
// into a recording sink.
struct VideoPipeline {
  explicit VideoPipeline(const char* file) : recording(state, file) {}
  // Presents pictures until done(), then stops and joins every thread.
  template <typename Done>
  bool playUntil(Done done) {
    state.display.bindVideoSurface(&sink);
    if (videoComponentOpen(decoder, recording.video) != 0) return false;
    demuxer.start();
    const bool reached = presentUntil(state, done);
    requestStop(state);
    demuxer.join();
    decoder.join();
    state.display.bindVideoSurface(nullptr);
    return reached;
  }
  PlayerState state;
  EngineState& engine = engineOf(state);
  VideoRecording recording;
  RecordingSink sink;
  VideoDecoder decoder{state};
  Demuxer demuxer{state};
};

}  // namespace

TEST(VideoDecoder, DurationSecondsTruncateAndFallBackToTheContainer) {
  struct Case {
    int64_t streamDuration;
    AVRational timeBase;
    int64_t containerDuration;  // AV_TIME_BASE units
    int64_t expected;
  };
  const Case cases[] = {
      {5990, {1, 100}, AV_NOPTS_VALUE, 59},            // 59.9 s
      {613376, {1, 10240}, AV_NOPTS_VALUE, 59},        // 59.9 s as MP4 stores it
      {359999, {1, 90000}, 4 * AV_TIME_BASE, 3},       // the stream's own length wins
      {AV_NOPTS_VALUE, {1, 1000}, 59900000, 59},       // no stream length: the container's
      {AV_NOPTS_VALUE, {1, 1000}, AV_NOPTS_VALUE, 0},  // neither known
      {0, {1, 1000}, 2500000, 2},
  };
  for (const Case& c : cases) {
    FakeStream fake;
    fake.stream->duration = c.streamDuration;
    fake.stream->time_base = c.timeBase;
    fake.format->duration = c.containerDuration;
    EXPECT_EQ(durationSecondsOf(fake.format, fake.stream), c.expected)
        << c.streamDuration << " x " << c.timeBase.num << "/" << c.timeBase.den;
  }
}

TEST(VideoDecoder, OpenSetsTheRecordsVideoFields) {
  PlayerState state;
  EngineState& engine = engineOf(state);
  VideoRecording recording(state, "video-59.9s.mp4");
  ASSERT_TRUE(recording.opened());
  VideoDecoder decoder(state);
  ASSERT_EQ(decoder.open(recording.video), 0);
  EXPECT_EQ(state.durationSeconds, 59);
  EXPECT_EQ(engine.videoStreamIndex, recording.video);
  EXPECT_EQ(engine.videoStream, recording.videoStream());
  decoder.close();
}

// Every frame thread holds pictures of its own; FFmpeg's own choice, one
// more than the cores, holds more and decodes no faster.
TEST(VideoDecoder, DecodesOnOneFrameThreadPerCoreAtMost) {
  PlayerState state;
  VideoRecording recording(state, "play-aac.mp4");
  ASSERT_TRUE(recording.opened());
  VideoDecoder decoder(state);
  int started = -1;
  std::thread opener([&] {
    setCurrentThreadName("vd-open");  // a new thread takes its maker's name
    if (decoder.open(recording.video) == 0) started = testsupport::threadsNamed({"vd-open"}) - 1;
  });
  opener.join();
  decoder.close();
  const int cores = av_cpu_count();
  EXPECT_LE(started, cores);
  EXPECT_GE(started, cores > 1 ? 2 : 0);  // still decoding on every core
}

TEST(VideoDecoder, RefusesAStreamWithoutADecoder) {
  PlayerState state;
  EngineState& engine = engineOf(state);
  VideoRecording recording(state, "clip.MOV");
  ASSERT_TRUE(recording.opened());
  AVStream* text = engine.formatContext->streams[3 - recording.video - recording.audio];
  text->codecpar->codec_id = AV_CODEC_ID_NONE;
  VideoDecoder decoder(state);
  testing::internal::CaptureStderr();
  EXPECT_EQ(decoder.open(text->index), -1);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "Unsupported codec!\n");
  EXPECT_EQ(decoder.open(-1), -1);
}

TEST(VideoDecoder, PictureTimeFromBestEffortThenPtsThenNone) {
  struct Case {
    int64_t bestEffort, pts;
    std::optional<double> expected;
  };
  const Case cases[] = {{2500, 2000, 2.5},
                        {AV_NOPTS_VALUE, 2000, 2.0},
                        {0, 2000, 0.0},
                        {AV_NOPTS_VALUE, AV_NOPTS_VALUE, std::nullopt}};
  FakeStream fake;
  fake.stream->time_base = {1, 1000};
  for (const Case& c : cases) {
    AVFrame frame{};
    frame.best_effort_timestamp = c.bestEffort;
    frame.pts = c.pts;
    EXPECT_EQ(pictureTime(&frame, fake.stream), c.expected);
  }
}

TEST(VideoDecoder, SynchronizeMovesTheClockOneFrameOn) {
  struct Case {
    std::optional<double> time;
    int repeatPict;
    double clockBefore;
    double returned, clockAfter;
  };
  // At 25 frames per second one interval is 0.04 s.
  const Case cases[] = {
      {2.0, 0, 0.0, 2.0, 2.04},
      {2.0, 1, 0.0, 2.0, 2.06},           // half an interval more per repeat
      {2.0, 2, 7.0, 2.0, 2.08},           // a picture's own time resets the clock
      {std::nullopt, 0, 3.0, 3.0, 3.04},  // no time: the running clock is the time
      {0.0, 0, 7.2, 0.0, 0.04},           // the first picture, after a seek back to it
  };
  for (const Case& c : cases) {
    PlayerState state;
    EngineState& engine = engineOf(state);
    FakeStream fake;
    fake.stream->avg_frame_rate = fake.stream->r_frame_rate = {25, 1};
    engine.formatContext = fake.format;
    engine.videoStream = fake.stream;
    state.videoClock = c.clockBefore;
    AVFrame frame{};
    frame.repeat_pict = c.repeatPict;
    EXPECT_DOUBLE_EQ(synchronizeVideo(state, &frame, c.time), c.returned);
    EXPECT_NEAR(state.videoClock, c.clockAfter, 1e-12);
    engine.formatContext = nullptr;
    engine.videoStream = nullptr;
  }
}

TEST(VideoDecoder, QueuePictureFillsAnEmptySlot) {
  PlayerState state;
  EngineState& engine = engineOf(state);
  FramePtr frame = patternFrame(16, 8, 3);
  EXPECT_EQ(queuePicture(state, frame.get(), 4.25, 0), 0);
  std::lock_guard<std::mutex> hold(engine.pictureLock);
  EXPECT_EQ(engine.pictureCount, 1);
  EXPECT_EQ(engine.picture.time(), 4.25);
  EXPECT_EQ(engine.picture.width(), 16);
}

TEST(VideoDecoder, QuitEndsTheWaitForTheSlotAndDropsThePicture) {
  PlayerState state;
  EngineState& engine = engineOf(state);
  FramePtr first = patternFrame(16, 8, 3);
  FramePtr second = patternFrame(16, 8, 9);
  ASSERT_EQ(queuePicture(state, first.get(), 1.0, 0), 0);
  int result = 0;
  std::thread decoder([&] { result = queuePicture(state, second.get(), 2.0, 0); });
  requestStop(state);  // sets quit and signals pictureCond
  decoder.join();
  EXPECT_EQ(result, -1);
  EXPECT_EQ(engine.picture.time(), 1.0);  // the waiting picture was not overwritten
}

// Whole recordings through the demuxer, the decoder thread and the display:
// every picture arrives, at its size, in order, the last ones included (the
// decoder is drained at the end of the file), and the clock ends at the length.
struct Recording {
  const char* file;
  int width, height;
};

void PrintTo(const Recording& r, std::ostream* os) {
  *os << r.file;
}

class DecodingRecording : public testing::TestWithParam<Recording> {};

TEST_P(DecodingRecording, EveryPictureReachesTheDisplayInOrder) {
  const Recording& r = GetParam();
  VideoPipeline pipeline(r.file);
  const VideoRecording& recording = pipeline.recording;
  ASSERT_TRUE(recording.opened());
  const size_t frames = static_cast<size_t>(frameCount(recording.videoStream()));
  ASSERT_GT(frames, 0u);
  EXPECT_TRUE(pipeline.playUntil([&] { return pipeline.sink.count() >= frames; }));

  const std::vector<RecordingSink::Seen> seen = pipeline.sink.seen();
  ASSERT_EQ(seen.size(), frames);
  const double interval = 1.0 / av_q2d(recording.videoStream()->avg_frame_rate);
  for (size_t i = 0; i < seen.size(); ++i) {
    EXPECT_EQ(seen[i].width, r.width);
    EXPECT_EQ(seen[i].height, r.height);
    EXPECT_NEAR(seen[i].time, i * interval, 1e-3) << "picture " << i;
  }
  EXPECT_EQ(static_cast<int64_t>(pipeline.state.videoClock.load() + 1e-9),
            pipeline.state.durationSeconds.load());
}

INSTANTIATE_TEST_SUITE_P(Recordings, DecodingRecording,
                         testing::Values(Recording{"play-aac.mp4", 160, 120},
                                         Recording{"play-pcm.AVI", 160, 120},
                                         Recording{"video-bframes.mp4", 160, 120},
                                         Recording{"video-854.mp4", 854, 480},
                                         Recording{"video-4k.mp4", 3840, 2160}),
                         [](const auto& info) { return testsupport::testName(info.param.file); });

// MJPEG from an AVI dashcam decodes to full-range 4:2:2; the picture shown must
// have the colours libswscale gives the same decoded frame.
TEST(VideoDecoder, MjpegPicturesShowTheirColours) {
  VideoPipeline pipeline("play-pcm.AVI");
  const VideoRecording& recording = pipeline.recording;
  ASSERT_TRUE(recording.opened());
  EXPECT_TRUE(pipeline.playUntil([&] { return pipeline.sink.count() >= 1; }));
  std::shared_ptr<const BgrFrame> shown = pipeline.sink.first();
  ASSERT_TRUE(shown);

  // The yardstick: the first frame decoded here and converted by libswscale.
  AVFormatContext* format = nullptr;
  ASSERT_EQ(avformat_open_input(&format, fixture("play-pcm.AVI").c_str(), nullptr, nullptr), 0);
  AVStream* stream = format->streams[recording.video];
  const AVCodec* codec = avcodec_find_decoder(stream->codecpar->codec_id);
  AVCodecContext* context = avcodec_alloc_context3(codec);
  avcodec_parameters_to_context(context, stream->codecpar);
  ASSERT_EQ(avcodec_open2(context, codec, nullptr), 0);
  AVPacket* packet = av_packet_alloc();
  FramePtr frame(av_frame_alloc());
  while (av_read_frame(format, packet) >= 0) {
    const bool video = packet->stream_index == recording.video;
    if (video) avcodec_send_packet(context, packet);
    av_packet_unref(packet);
    if (video && avcodec_receive_frame(context, frame.get()) == 0) break;
  }
  ASSERT_EQ(frame->format, AV_PIX_FMT_YUVJ422P);
  std::vector<uint8_t> expected(static_cast<size_t>(shown->stride) * shown->height);
  SwsContext* sws =
      sws_getContext(frame->width, frame->height, AV_PIX_FMT_YUVJ422P, frame->width, frame->height,
                     AV_PIX_FMT_BGR24, SWS_BILINEAR, nullptr, nullptr, nullptr);
  uint8_t* dst[1] = {expected.data()};
  const int dstStride[1] = {shown->stride};
  sws_scale(sws, frame->data, frame->linesize, 0, frame->height, dst, dstStride);
  sws_freeContext(sws);
  av_packet_free(&packet);
  avcodec_free_context(&context);
  avformat_close_input(&format);

  double total = 0;
  for (size_t i = 0; i < expected.size(); ++i) total += std::abs(expected[i] - shown->pixels[i]);
  EXPECT_LT(total / expected.size(), 3.0);
}

// The flush marker makes the decoder drop what it holds from before a seek and
// is not decoded itself (taken for an end mark it would bring them all out).
// A seek as the demuxer makes it (the queue flushed, the marker queued)
// while pictures from before it wait in the slot and in the decoder: none of
// them is shown.
TEST(VideoDecoder, ASeekDropsEveryPictureDecodedBeforeIt) {
  PlayerState state;
  EngineState& engine = engineOf(state);
  VideoRecording recording(state, "video-bframes.mp4");  // 4 s at 25 fps
  ASSERT_TRUE(recording.opened());
  RecordingSink sink;
  state.display.bindVideoSurface(&sink);
  VideoDecoder decoder(state);
  ASSERT_EQ(videoComponentOpen(decoder, recording.video), 0);

  constexpr int kBefore = 10;
  AVPacket* packet = av_packet_alloc();
  auto putVideoPackets = [&](int limit) {
    int put = 0;
    while (put < limit && av_read_frame(engine.formatContext, packet) >= 0) {
      if (packet->stream_index == recording.video && packet->size > 0) {
        packetQueuePut(engine.videoQueue, packet);
        ++put;
      }
      av_packet_unref(packet);
    }
    return put;
  };
  ASSERT_EQ(putVideoPackets(kBefore), kBefore);
  ASSERT_TRUE(waitBounded(
      [&] {
        std::lock_guard<std::mutex> hold(engine.pictureLock);
        return engine.pictureCount == 1;
      },
      200, 10));
  packetQueueFlush(engine.videoQueue);
  packetQueuePut(engine.videoQueue, flushPacket());
  const AVStream* video = recording.videoStream();
  ASSERT_GE(
      av_seek_frame(engine.formatContext, recording.video,
                    static_cast<int64_t>(2.0 / av_q2d(video->time_base)), AVSEEK_FLAG_BACKWARD),
      0);
  const int after = putVideoPackets(1000);
  AVPacket* endMark = av_packet_alloc();
  packetQueuePut(engine.videoQueue, endMark);
  av_packet_free(&endMark);
  av_packet_free(&packet);

  const double last = (frameCount(video) - 1) / av_q2d(video->avg_frame_rate);
  EXPECT_TRUE(presentUntil(state, [&] {
    std::shared_ptr<const BgrFrame> f = sink.last();
    return f && std::abs(f->time - last) < 1e-3;
  }));
  requestStop(state);
  decoder.join();
  state.display.bindVideoSurface(nullptr);

  int beforeSeek = 0, afterSeek = 0;
  double previous = -1;
  for (const RecordingSink::Seen& s : sink.seen()) {
    (s.time < 2.0 - 1e-3 ? beforeSeek : afterSeek)++;
    if (s.time >= 2.0 - 1e-3) {
      EXPECT_GT(s.time, previous);
      previous = s.time;
    }
  }
  EXPECT_EQ(beforeSeek, 0);
  EXPECT_EQ(afterSeek, after);  // everything from the new position shows
}

TEST(VideoDecoder, PausedThreadLeavesWhenStopped) {
  PlayerState state;
  VideoRecording recording(state, "play-silent.mp4");
  ASSERT_TRUE(recording.opened());
  state.paused = true;
  VideoDecoder decoder(state);
  ASSERT_EQ(videoComponentOpen(decoder, recording.video), 0);
  ASSERT_TRUE(waitBounded([] { return testsupport::threadsNamed({"dec/video"}) == 1; }, 200, 10));
  requestStop(state);
  decoder.join();
  EXPECT_EQ(testsupport::threadsNamed({"dec/video"}), 0);
}

TEST(VideoDecoder, SkipsOnlyWhileBehindByMoreThanAPictureUntilCaughtUp) {
  struct Case {
    double time, clock, interval;
    bool skipping, skips;
  };
  const Case cases[] = {
      {10.0, 10.0, 0.04, false, false},   // in time
      {10.0, 10.04, 0.04, false, false},  // one picture behind: its successor is due, no more
      {10.0, 10.05, 0.04, false, true},   // more than one behind
      {10.0, 11.0, 0.0, false, false},    // no rate to tell by
      {10.0, 10.02, 0.04, true, true},    // skipping, still behind: on until caught up
      {10.0, 10.0, 0.04, true, false},    // caught up
      {10.0, 9.5, 0.04, true, false},     // ahead (a seek back, a paused step)
  };
  for (const Case& c : cases) {
    EXPECT_EQ(skipWhileBehind(c.time, c.clock, c.interval, c.skipping), c.skips)
        << c.time << " against " << c.clock << " every " << c.interval
        << (c.skipping ? " skipping" : "");
  }
}

TEST(VideoDecoder, PicturesLeftOutAreTheGapsInWholePictures) {
  struct Case {
    double previous, time, interval;
    int64_t missing;
  };
  const Case cases[] = {
      {1.0, 1.04, 0.04, 0}, {1.0, 1.08, 0.04, 1},
      {1.0, 1.2, 0.04, 4},  {1.0, 1.079, 0.04, 1},  // timestamps rounded to the time base
      {1.0, 1.2, 0.0, 0},                           // no rate
      {1.2, 1.0, 0.04, 0},                          // back (a picture reordered or a seek)
  };
  for (const Case& c : cases) {
    EXPECT_EQ(picturesLeftOut(c.previous, c.time, c.interval), c.missing)
        << c.previous << " to " << c.time << " every " << c.interval;
  }
}

// Behind the clock the decoder leaves out the B pictures nothing refers to;
// each is counted as dropped, so every picture is either shown or dropped.
TEST(VideoDecoder, PicturesLeftOutBehindTheClockCountAsDropped) {
  for (const bool behind : {false, true}) {
    SCOPED_TRACE(behind ? "behind" : "in time");
    VideoPipeline pipeline("video-bframes.mp4");
    ASSERT_TRUE(pipeline.recording.opened());
    const int64_t frames = frameCount(pipeline.recording.videoStream());
    ASSERT_GT(frames, 0);
    pipeline.state.playState = Playing;
    pipeline.state.audioClock = behind ? 1e9 : 0.0;
    EngineState& engine = pipeline.engine;
    EXPECT_TRUE(pipeline.playUntil([&] {
      std::lock_guard<std::mutex> hold(engine.pictureLock);
      return engine.videoDrainedSerial.load() == engine.videoQueue.serial.load() &&
             engine.pictureCount == 0;
    }));
    const PlaybackStats stats = pipeline.state.display.stats();
    EXPECT_EQ(stats.shown + stats.dropped, frames);
    EXPECT_EQ(stats.shown, static_cast<int64_t>(pipeline.sink.count()));
    if (behind) {
      EXPECT_GT(stats.dropped, 0);
    } else {
      EXPECT_EQ(stats.dropped, 0);
    }
  }
}
