#include <gtest/gtest.h>

#include <thread>

#include "engine/Display.h"
#include "engine/PlayerState.h"
#include "engine/RecordingSink.h"
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
  AVFormatContext* format = avformat_alloc_context();
  RecordingSink sink;

  DisplayTest() {
    state.formatContext = format;
    state.videoStream = avformat_new_stream(format, nullptr);
    state.display.bindVideoSurface(&sink);
  }
  ~DisplayTest() override {
    state.display.bindVideoSurface(nullptr);
    state.videoStream = nullptr;
    state.formatContext = nullptr;
    avformat_free_context(format);
  }
  void handOver(const AVFrame* frame, double time) {
    ASSERT_EQ(queuePicture(state, frame, time, state.videoQueue.serial), 0);
  }
  int pictureCount() {
    std::lock_guard<std::mutex> hold(state.pictureLock);
    return state.pictureCount;
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

TEST(Display, PacingWaitsOnlyForPicturesMoreThanATenthAhead) {
  struct Case {
    double picture, audio;
    bool waits;
  };
  const Case cases[] = {
      {1.1, 1.0, false},    {1.11, 1.0, true},   {10.2, 10.1, false}, {10.21, 10.1, true},
      {0.5, 1.0, false},    {0.0, 0.0, false},   {0.1, 0.0, false},   {3.0, 0.0, true},
      {100.0, 99.9, false}, {100.1, 99.9, true},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(pictureMustWait(c.picture, c.audio), c.waits) << c.picture << " vs " << c.audio;
  }
}

TEST_F(DisplayTest, ReturnsAtOnceWithoutAPicture) {
  state.display.presentPicture(state);
  EXPECT_EQ(sink.count(), 0u);
  FramePtr frame = patternFrame(16, 8, 1);
  handOver(frame.get(), 0.0);
  state.videoStream = nullptr;  // no video stream open: nothing is shown
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

// A picture too far ahead waits 50 ms and stays for a later step, however
// long the clock takes: 10 or 15 pictures a second are further apart than
// one wait, and the sound may come slowly.
TEST_F(DisplayTest, APictureMoreThanATenthAheadIsHeldUntilTheClockComesWithin) {
  struct Case {
    double ahead;
    bool held;
  };
  const Case cases[] = {{0.0, false}, {0.1, false}, {0.11, true}, {0.5, true}, {-2.0, false}};
  FramePtr frame = patternFrame(16, 8, 1);
  const int serial = state.videoQueue.serial;
  int64_t waits = 0;
  size_t shown = 0;
  for (const Case& c : cases) {
    state.audioClock = 5.0;
    handOver(frame.get(), 5.0 + c.ahead);
    if (c.held) {
      EXPECT_EQ(state.display.presentPicture(state), -1) << "ahead " << c.ahead;
      EXPECT_EQ(state.display.presentPicture(state), -1) << "ahead " << c.ahead;
      waits += 2;
      EXPECT_EQ(pictureCount(), 1) << "ahead " << c.ahead;
      state.audioClock = 4.9 + c.ahead;
    }
    EXPECT_EQ(state.display.presentPicture(state), serial) << "ahead " << c.ahead;
    EXPECT_EQ(state.display.pacingWaits(), waits) << "ahead " << c.ahead;
    EXPECT_EQ(pictureCount(), 0);
    EXPECT_EQ(sink.count(), ++shown);
  }
}

// After a seek back the picture decoded before it lies far ahead of the new
// position's clock: it goes unseen at once instead of holding the screen.
TEST_F(DisplayTest, APictureFromBeforeASeekIsDroppedUnseen) {
  FramePtr frame = patternFrame(16, 8, 1);
  handOver(frame.get(), 75.0);
  packetQueueFlush(state.videoQueue);  // the demuxer's seek
  state.audioClock = 20.0;
  EXPECT_EQ(state.display.presentPicture(state), -1);
  EXPECT_EQ(pictureCount(), 0);
  EXPECT_EQ(sink.count(), 0u);
  EXPECT_EQ(state.display.pacingWaits(), 0);
}

TEST_F(DisplayTest, AStopDuringThePacingWaitShowsNothing) {
  FramePtr frame = patternFrame(16, 8, 1);
  handOver(frame.get(), 9.0);
  state.audioClock = 1.0;
  state.quit = 1;
  state.display.presentPicture(state);
  EXPECT_EQ(sink.count(), 0u);
}

TEST_F(DisplayTest, ScreenshotIsTheLastPresentedPictureBottomUp) {
  EXPECT_EQ(state.display.screenshotFrame().width, 0);  // nothing shown yet
  EXPECT_TRUE(state.display.screenshotFrame().pixels.empty());
  FramePtr first = patternFrame(10, 4, 1);
  FramePtr second = patternFrame(10, 4, 77);
  for (const AVFrame* frame : {first.get(), second.get()}) {
    handOver(frame, 0.0);
    state.display.presentPicture(state);
  }
  const ScreenshotFrame shot = state.display.screenshotFrame();
  ASSERT_EQ(shot.width, 10);
  ASSERT_EQ(shot.height, 4);
  const std::vector<uint8_t> shown = expectedBgr(second.get());
  for (int row = 0; row < 4; ++row) {
    EXPECT_TRUE(std::equal(shown.begin() + row * 30, shown.begin() + row * 30 + 30,
                           shot.pixels.begin() + (3 - row) * 30))
        << "row " << row;
  }
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
      queuePicture(state, frames[i].get(), i, state.videoQueue.serial);
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
