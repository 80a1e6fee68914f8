#include <gtest/gtest.h>

#include <thread>

#include "engine/Display.h"
#include "engine/EngineState.h"
#include "engine/PlayerState.h"
#include "engine/RecordingSink.h"
#include "engine/ShownPicture.h"
#include "engine/TestFrames.h"
#include "engine/VideoDecoder.h"
#include "engine/YuvToBgr.h"

extern "C" {
#include <libavformat/avformat.h>
}

using namespace vantrel;
using namespace vantrel::videotest;

namespace {

// A player with a video stream and a sink, whose picture slot the test fills.
struct DisplayTest : testing::Test {
  PlayerState state;
  EngineState& engine = engineOf(state);
  AVFormatContext* format = avformat_alloc_context();
  RecordingSink sink;

  DisplayTest() {
    engine.formatContext = format;
    engine.videoStream = avformat_new_stream(format, nullptr);
    state.display.bindVideoSurface(&sink);
  }
  ~DisplayTest() override {
    state.display.bindVideoSurface(nullptr);
    engine.videoStream = nullptr;
    engine.formatContext = nullptr;
    avformat_free_context(format);
  }
  void handOver(const AVFrame* frame, double time) {
    ASSERT_EQ(queuePicture(state, frame, time, engine.videoQueue.serial), 0);
  }
  int pictureCount() {
    std::lock_guard<std::mutex> hold(engine.pictureLock);
    return engine.pictureCount;
  }
};

std::vector<uint8_t> expectedBgr(const AVFrame* frame) {
  const int w = frame->width, h = frame->height;
  std::vector<uint8_t> bgr(static_cast<size_t>(w) * h * 3);
  convertYuvToBgrScalar(frame->data[0], frame->linesize[0], frame->data[1], frame->data[2],
                        frame->linesize[1], bgr.data(), w, h, w * 3);
  return bgr;
}

}  // namespace

// A picture is shown once the clock is within 5 ms of playing time of it:
// 5 ms of the recording at normal speed, 1.25 ms at a quarter, 20 ms at 4x.
TEST(Display, PacingWaitsForPicturesNotYetDue) {
  struct Case {
    double ahead, speed;
    bool waits;
  };
  const Case cases[] = {
      {0.005, 1.0, false}, {0.0051, 1.0, true}, {0.0, 1.0, false},      {-0.5, 1.0, false},
      {0.033, 1.0, true},  {3.0, 1.0, true},    {0.00125, 0.25, false}, {0.002, 0.25, true},
      {0.01, 2.0, false},  {0.011, 2.0, true},  {0.02, 4.0, false},     {0.021, 4.0, true},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(pictureMustWait(99.9 + c.ahead, 99.9, c.speed), c.waits)
        << c.ahead << " ahead at " << c.speed;
  }
}

// The wait lasts until the picture is due in seconds of the screen (the
// time ahead over the speed), less half the lead, and at most 50 ms: never a
// fixed step that shows it late, nor one so short that the step spins.
TEST(Display, APictureWaitsUntilItIsDue) {
  using std::chrono::microseconds;
  struct Case {
    double ahead, speed;
    microseconds wait;
  };
  const Case cases[] = {
      {0.0125, 1.0, microseconds(10000)}, {0.0325, 1.0, microseconds(30000)},
      {0.0125, 0.5, microseconds(22500)}, {0.0125, 0.25, microseconds(47500)},
      {0.045, 2.0, microseconds(20000)},  {0.1, 4.0, microseconds(22500)},
      {0.2, 1.0, microseconds(50000)},    {0.02, 0.25, microseconds(50000)},
      {0.006, 1.0, microseconds(3500)},
  };
  for (const Case& c : cases) {
    EXPECT_NEAR(pacingWait(c.ahead, c.speed).count(), c.wait.count(), 1)
        << c.ahead << " ahead at " << c.speed;
  }
}

// Faster than normal a picture more than a tenth of a second of playing time
// behind the sound is left out and counted as dropped, unless none has been
// shown for that long; at normal speed and slower a late one is shown.
TEST(Display, OnlyFasterThanNormalALatePictureIsLeftOut) {
  struct Case {
    double behind, speed, sinceShown;
    bool leftOut;
  };
  const Case cases[] = {
      {0.5, 1.0, 0.0, false},   {5.0, 0.5, 0.0, false},  {0.2, 2.0, 0.0, false},
      {0.21, 2.0, 0.0, true},   {0.21, 2.0, 0.1, false}, {0.41, 4.0, 0.05, true},
      {0.39, 4.0, 0.05, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(pictureTooLate(10.0 - c.behind, 10.0, c.speed, c.sinceShown), c.leftOut)
        << c.behind << " behind at " << c.speed << ", " << c.sinceShown << " s since one was shown";
  }
}

TEST_F(DisplayTest, ReturnsAtOnceWithoutAPicture) {
  state.display.presentPicture(state);
  EXPECT_EQ(sink.count(), 0u);
  FramePtr frame = patternFrame(16, 8, 1);
  handOver(frame.get(), 0.0);
  engine.videoStream = nullptr;  // no video stream open: nothing is shown
  state.display.presentPicture(state);
  EXPECT_EQ(sink.count(), 0u);
  EXPECT_EQ(pictureCount(), 1);
}

TEST_F(DisplayTest, HandsTheConvertedPictureToTheSinkAndFreesTheSlot) {
  FramePtr frame = patternFrame(854, 6, 5);
  handOver(frame.get(), 2.0);
  state.audioClock = 2.0;
  state.display.presentPicture(state);
  EXPECT_EQ(pictureCount(), 0);
  ASSERT_EQ(sink.count(), 1u);
  std::shared_ptr<const BgrFrame> shown = sink.last();
  EXPECT_EQ(shown->width, 854);
  EXPECT_EQ(shown->height, 6);
  EXPECT_EQ(shown->stride, 854 * 3);
  EXPECT_EQ(shown->time, 2.0);
  EXPECT_EQ(shown->pixels, expectedBgr(frame.get()));
}

// A picture not yet due waits for it and stays for a later step, however
// long the clock takes (the sound may come slowly); each wait lasts until it
// would be due had the clock moved.
TEST_F(DisplayTest, APictureNotYetDueIsHeldUntilTheClockComesWithin) {
  struct Case {
    double ahead;
    bool held;
  };
  const Case cases[] = {{0.0, false}, {0.005, false}, {0.02, true}, {0.5, true}, {-2.0, false}};
  FramePtr frame = patternFrame(16, 8, 1);
  const int serial = engine.videoQueue.serial;
  int64_t waits = 0;
  size_t shown = 0;
  for (const Case& c : cases) {
    state.audioClock = 5.0;
    handOver(frame.get(), 5.0 + c.ahead);
    if (c.held) {
      const auto before = std::chrono::steady_clock::now();
      EXPECT_EQ(state.display.presentPicture(state), -1) << "ahead " << c.ahead;
      EXPECT_GE(std::chrono::steady_clock::now() - before, pacingWait(c.ahead, 1.0));
      EXPECT_EQ(state.display.presentPicture(state), -1) << "ahead " << c.ahead;
      waits += 2;
      EXPECT_EQ(pictureCount(), 1) << "ahead " << c.ahead;
      EXPECT_EQ(sink.count(), shown) << "ahead " << c.ahead;
      state.audioClock = 5.0 + c.ahead - kPacingLead;
    }
    EXPECT_EQ(state.display.presentPicture(state), serial) << "ahead " << c.ahead;
    EXPECT_EQ(state.display.pacingWaits(), waits) << "ahead " << c.ahead;
    EXPECT_EQ(pictureCount(), 0);
    EXPECT_EQ(sink.count(), ++shown);
  }
}

// Against a clock that runs, a picture 45 ms of playing time ahead waits
// once, until it is due, and is then shown, no earlier than the lead allows.
TEST_F(DisplayTest, AgainstARunningClockAPictureWaitsOnceAndIsShownWhenDue) {
  FramePtr frame = patternFrame(16, 8, 1);
  for (double speed : {1.0, 0.5, 2.0}) {
    SCOPED_TRACE(speed);
    state.speed = speed;
    const auto start = std::chrono::steady_clock::now();
    state.display.readClockWith([start, speed] {
      return 10.0 +
             speed *
                 std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    });
    const int64_t waits = state.display.pacingWaits();
    handOver(frame.get(), 10.0 + 0.045 * speed);
    EXPECT_EQ(state.display.presentPicture(state), -1);
    EXPECT_GE(state.display.presentPicture(state), 0);
    EXPECT_EQ(state.display.pacingWaits(), waits + 1);
    EXPECT_LE(state.display.stats().offsetLargest, kPacingLead * speed);
  }
  state.display.readClockWith(nullptr);
}

// While the sound waits for the first picture its clock stands: the picture
// is held without a wait, so the sound can start and bring it due.
TEST_F(DisplayTest, APictureTheSoundWaitsForIsHeldWithoutAWait) {
  FramePtr frame = patternFrame(16, 8, 1);
  engine.soundWaitsForPicture = true;
  state.audioClock = 3.0;
  handOver(frame.get(), 3.03);
  EXPECT_EQ(state.display.presentPicture(state), -1);
  EXPECT_EQ(state.display.pacingWaits(), 0);
  EXPECT_EQ(pictureCount(), 1);
  engine.soundWaitsForPicture = false;
}

// After a seek back the picture decoded before it lies far ahead of the new
// position's clock: it goes unseen at once instead of holding the screen.
TEST_F(DisplayTest, APictureFromBeforeASeekIsDroppedUnseen) {
  FramePtr frame = patternFrame(16, 8, 1);
  handOver(frame.get(), 75.0);
  packetQueueFlush(engine.videoQueue);  // the demuxer's seek
  state.audioClock = 20.0;
  EXPECT_EQ(state.display.presentPicture(state), -1);
  EXPECT_EQ(pictureCount(), 0);
  EXPECT_EQ(sink.count(), 0u);
  EXPECT_EQ(state.display.pacingWaits(), 0);
}

// Each presented picture counts with its time against the sound clock as
// it went out; held and stale pictures do not count until shown.
TEST_F(DisplayTest, StatisticsCountThePicturesShownAndHowLateTheyCame) {
  FramePtr frame = patternFrame(16, 8, 1);
  const double offsets[] = {0.0, -0.03, -0.05, 0.004, -0.2, 0.002};
  for (double offset : offsets) {
    state.audioClock = 10.0;
    handOver(frame.get(), 10.0 + offset);
    state.display.presentPicture(state);
  }
  handOver(frame.get(), 12.0);  // held: not yet due
  state.display.presentPicture(state);
  packetQueueFlush(engine.videoQueue);  // and then gone with a seek
  state.display.presentPicture(state);

  const PlaybackStats all = state.display.stats();
  EXPECT_EQ(all.shown, 6);
  EXPECT_EQ(all.dropped, 0);
  EXPECT_EQ(all.late, 2);  // -0.05 and -0.2
  EXPECT_NEAR(all.offsetMean, -0.274 / 6, 1e-9);
  EXPECT_NEAR(all.offsetLargest, -0.2, 1e-9);
  const PlaybackStats window = state.display.stats(2);  // two replaced before a paint
  EXPECT_EQ(window.shown, 4);
  EXPECT_EQ(window.dropped, 2);
  EXPECT_EQ(formatStats(window),
            "shown=4 dropped=2 late=2 offset_mean=-0.046 offset_largest=-0.200");
}

TEST_F(DisplayTest, FasterThanNormalALatePictureIsDroppedAndCounted) {
  FramePtr frame = patternFrame(16, 8, 1);
  state.speed = 2.0;
  state.audioClock = 10.0;
  handOver(frame.get(), 10.0);
  EXPECT_GE(state.display.presentPicture(state), 0);
  handOver(frame.get(), 9.5);  // half a second behind, just after one was shown
  EXPECT_EQ(state.display.presentPicture(state), -1);
  EXPECT_EQ(pictureCount(), 0) << "the slot is free for the next picture";
  EXPECT_EQ(sink.count(), 1u);
  const PlaybackStats stats = state.display.stats(1);  // one more replaced in the window
  EXPECT_EQ(stats.shown, 0);
  EXPECT_EQ(stats.dropped, 2);
}

// Late is judged in playing time: 30 ms of the recording behind the sound
// is 7.5 ms heard at 4 times, 120 ms at a quarter.
TEST_F(DisplayTest, LatenessIsJudgedInPlayingTime) {
  FramePtr frame = patternFrame(16, 8, 1);
  for (double speed : {4.0, 0.25}) {
    state.speed = speed;
    state.audioClock = 20.0;
    handOver(frame.get(), 19.97);
    ASSERT_GE(state.display.presentPicture(state), 0);
  }
  EXPECT_EQ(state.display.stats().late, 1);
}

TEST(PlaybackStats, PrintedOnlyWhenAskedFor) {
  PlaybackStats stats;
  stats.shown = 300;
  stats.dropped = 3;
  stats.offsetLargest = 0.0404;
  for (const char* asked : std::initializer_list<const char*>{"1", "0", "", nullptr}) {
    if (asked) {
      setenv("VANTREL_STATS", asked, 1);
    } else {
      unsetenv("VANTREL_STATS");
    }
    testing::internal::CaptureStderr();
    printStatsIfAsked(stats, stderr);
    const std::string printed = testing::internal::GetCapturedStderr();
    EXPECT_EQ(printed, asked && std::string(asked) == "1"
                           ? "stats: shown=300 dropped=3 late=0 offset_mean=0.000 "
                             "offset_largest=0.040\n"
                           : "")
        << (asked ? asked : "unset");
  }
  unsetenv("VANTREL_STATS");
}

TEST_F(DisplayTest, AStopDuringThePacingWaitShowsNothing) {
  FramePtr frame = patternFrame(16, 8, 1);
  handOver(frame.get(), 9.0);
  state.audioClock = 1.0;
  state.quit = true;
  state.display.presentPicture(state);
  EXPECT_EQ(sink.count(), 0u);
}

// The display keeps no finished picture itself: when the sink lets each one
// go, one buffer serves them all (a second would be 6 MB at 1080p).
TEST_F(DisplayTest, OneBufferServesWhenTheSinkKeepsNoPicture) {
  struct ForgettingSink : VideoSink {
    std::vector<const uint8_t*> buffers;
    void presentFrame(std::shared_ptr<const BgrFrame> frame) override {
      buffers.push_back(frame->pixels.data());
    }
  } forgetting;
  state.display.bindVideoSurface(&forgetting);
  FramePtr frame = patternFrame(64, 32, 3);
  for (int i = 0; i < 3; ++i) {
    handOver(frame.get(), i * 0.04);
    state.audioClock = i * 0.04;
    state.display.presentPicture(state);
  }
  ASSERT_EQ(forgetting.buffers.size(), 3u);
  EXPECT_EQ(forgetting.buffers[1], forgetting.buffers[0]);
  EXPECT_EQ(forgetting.buffers[2], forgetting.buffers[0]);
}

// The player without a window counts pictures: it gets their times and
// sizes, and no buffer is filled for it.
TEST_F(DisplayTest, ASinkThatWantsNoPixelsGetsThePictureWithoutThem) {
  struct CountingSink : RecordingSink {
    bool wantsPixels() const override { return false; }
  } counting;
  state.display.bindVideoSurface(&counting);
  FramePtr frame = patternFrame(64, 32, 3);
  handOver(frame.get(), 0.5);
  state.audioClock = 0.5;
  state.display.presentPicture(state);
  EXPECT_EQ(pictureCount(), 0);
  ASSERT_EQ(counting.count(), 1u);
  const std::shared_ptr<const BgrFrame> shown = counting.last();
  EXPECT_EQ(shown->time, 0.5);
  EXPECT_EQ(shown->width, 64);
  EXPECT_EQ(shown->height, 32);
  EXPECT_TRUE(shown->pixels.empty());
  EXPECT_EQ(state.display.shownTime(state.generation.load()), 0.5);
}

TEST_F(DisplayTest, FourKPicturesAreShownWhole) {
  FramePtr frame = patternFrame(3840, 2160, 9);
  handOver(frame.get(), 0.0);
  state.display.presentPicture(state);
  ASSERT_EQ(sink.count(), 1u);
  EXPECT_EQ(sink.last()->pixels, expectedBgr(frame.get()));
}

// The decoder hands over uniform pictures of changing colour as fast as it
// can while the display shows them: every shown picture must be one colour,
// the one handed over with its time. A display that freed the slot before
// converting would show pictures half overwritten by the next one.
TEST_F(DisplayTest, APictureIsNeverOverwrittenWhileItIsConverted) {
  constexpr int kPictures = 60;
  std::vector<FramePtr> frames;
  for (int i = 0; i < kPictures; ++i) {
    frames.push_back(uniformFrame(1280, 720, static_cast<uint8_t>(20 + i * 3), 128, 128));
  }
  state.audioClock = 1e9;
  std::thread decoder([&] {
    for (int i = 0; i < kPictures; ++i)
      queuePicture(state, frames[i].get(), i, engine.videoQueue.serial);
  });
  while (sink.count() < static_cast<size_t>(kPictures) &&
         state.display.waitForPicture(state, 1000)) {
    state.display.presentPicture(state);
    std::shared_ptr<const BgrFrame> f = sink.last();
    const int index = static_cast<int>(f->time);
    uint8_t expected[3];
    convertYuvToBgrScalar(frames[index]->data[0], 1, frames[index]->data[1], frames[index]->data[2],
                          1, expected, 1, 1, 3);
    const uint8_t* first = f->row(0);
    const uint8_t* last = f->row(f->height - 1) + (f->width - 1) * 3;
    EXPECT_TRUE(std::equal(expected, expected + 3, first)) << "picture " << index;
    EXPECT_TRUE(std::equal(expected, expected + 3, last)) << "picture " << index;
  }
  decoder.join();
  EXPECT_EQ(sink.count(), static_cast<size_t>(kPictures));
}

// Shown smaller than the picture, a picture is converted at the size shown,
// each pixel the one under its centre in the whole picture (what the window
// picks when it scales the whole one down), and its decoded planes come
// along: converted whole they give exactly the picture shown whole. Larger
// either way, or no size, and the picture is converted whole, planes let go.
TEST_F(DisplayTest, APictureShownSmallerIsConvertedAtThatSizeAndKeepsItsWhole) {
  struct SizedSink : RecordingSink {
    PixelSize size;
    PixelSize shownSize(int, int, double) const override { return size; }
  } sized;
  state.display.bindVideoSurface(&sized);
  struct Case {
    PixelSize asked;
    bool smaller;
  };
  const Case cases[] = {{{320, 180}, true},    {{1280, 720}, false}, {{1281, 700}, false},
                        {{1280, 500}, true},   {{3, 2}, true},       {{0, 0}, false},
                        {{2000, 1125}, false}, {{777, 437}, true}};
  uint8_t seed = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.asked.width) + "x" + std::to_string(c.asked.height));
    sized.size = c.asked;
    FramePtr decoded = patternFrame(1280, 720, seed += 7);
    handOver(decoded.get(), 0.0);
    state.display.presentPicture(state, false);
    const std::vector<uint8_t> whole = expectedBgr(decoded.get());
    decoded.reset();  // the decoder moves on
    const std::shared_ptr<const BgrFrame> shown = sized.last();
    ASSERT_TRUE(shown);
    EXPECT_EQ(shown->pictureWidth(), 1280);
    EXPECT_EQ(shown->pictureHeight(), 720);
    if (!c.smaller) {
      EXPECT_EQ(shown->width, 1280);
      EXPECT_FALSE(shown->planes);
      EXPECT_EQ(shown->pixels, whole);
      continue;
    }
    ASSERT_EQ(shown->width, c.asked.width);
    ASSERT_EQ(shown->height, c.asked.height);
    int wrong = 0;
    for (int y = 0; y < shown->height; ++y) {
      const int64_t sy = (2 * y + 1) * 720 / (2 * shown->height);
      for (int x = 0; x < shown->width; ++x) {
        const int64_t sx = (2 * x + 1) * 1280 / (2 * shown->width);
        wrong += !std::equal(shown->row(y) + 3 * x, shown->row(y) + 3 * x + 3,
                             whole.data() + (sy * 1280 + sx) * 3);
      }
    }
    EXPECT_EQ(wrong, 0);
    ASSERT_TRUE(shown->planes);
    const std::shared_ptr<const BgrFrame> full = fullPicture(shown);
    EXPECT_EQ(full->width, 1280);
    EXPECT_EQ(full->height, 720);
    EXPECT_EQ(full->pixels, whole);
    EXPECT_EQ(full->time, shown->time);
    EXPECT_EQ(full->generation, shown->generation);
  }
  state.display.bindVideoSurface(&sink);
}
