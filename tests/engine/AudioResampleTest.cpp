#include <gtest/gtest.h>

#include <cstring>

#include "engine/AudioResample.h"
#include "engine/EngineState.h"

extern "C" {
#include <libavutil/channel_layout.h>
#include <libavutil/frame.h>
}

using namespace vantrel;

namespace {

struct FrameDeleter {
  void operator()(AVFrame* f) const { av_frame_free(&f); }
};
using FramePtr = std::unique_ptr<AVFrame, FrameDeleter>;

FramePtr makeFrame(AVSampleFormat format, int channels, int rate, int samples) {
  FramePtr frame(av_frame_alloc());
  frame->format = format;
  frame->sample_rate = rate;
  frame->nb_samples = samples;
  av_channel_layout_default(&frame->ch_layout, channels);
  EXPECT_EQ(av_frame_get_buffer(frame.get(), 0), 0);
  for (int p = 0; frame->extended_data[p] && p < channels; ++p) {
    std::memset(frame->extended_data[p], 0, frame->linesize[0]);
  }
  return frame;
}

void setDevice(EngineState& state, int rate, int channels) {
  AVChannelLayout layout{};
  av_channel_layout_default(&layout, channels);
  state.audioTargetRate = rate;
  state.audioTargetChannels = channels;
  state.audioTargetLayout = layout.u.mask;
}

}  // namespace

class Resample : public testing::Test {
 protected:
  void TearDown() override { resamplerFree(state); }
  EngineState state;
  std::vector<uint8_t> out;
};

TEST_F(Resample, AFrameInTheDevicesFormatIsCopiedWholeWithoutAResampler) {
  setDevice(state, 48000, 2);
  // 4096 frames: 16384 bytes, larger than any fixed staging block.
  FramePtr frame = makeFrame(AV_SAMPLE_FMT_S16, 2, 48000, 4096);
  auto* samples = reinterpret_cast<int16_t*>(frame->data[0]);
  for (int i = 0; i < 4096 * 2; ++i) samples[i] = static_cast<int16_t>(i * 3 - 5000);
  ASSERT_EQ(resampleFrame(state, frame.get(), out), 16384);
  EXPECT_EQ(state.resampler, nullptr);
  ASSERT_EQ(out.size(), 16384u);
  EXPECT_EQ(std::memcmp(out.data(), frame->data[0], out.size()), 0);
}

TEST_F(Resample, OtherFormatsLayoutsAndRatesComeOutAsDeviceFrames) {
  struct Case {
    AVSampleFormat format;
    int channels, rate, samples, deviceChannels;
  };
  const Case cases[] = {
      {AV_SAMPLE_FMT_FLTP, 2, 48000, 1152, 2},  // MP3-like, same rate
      {AV_SAMPLE_FMT_S16, 1, 48000, 1000, 2},   // mono PCM to a stereo device
      {AV_SAMPLE_FMT_S16, 2, 48000, 1000, 1},   // stereo to a mono device
      {AV_SAMPLE_FMT_S32, 2, 24000, 2400, 2},   // half the device rate
  };
  for (const Case& c : cases) {
    setDevice(state, 48000, c.deviceChannels);
    // Feed a few frames: the resampler keeps a little back for its filter.
    size_t total = 0;
    for (int i = 0; i < 5; ++i) {
      out.clear();
      FramePtr frame = makeFrame(c.format, c.channels, c.rate, c.samples);
      int bytes = resampleFrame(state, frame.get(), out);
      ASSERT_GE(bytes, 0);
      EXPECT_EQ(static_cast<size_t>(bytes), out.size());
      EXPECT_EQ(out.size() % (c.deviceChannels * 2), 0u);
      total += out.size();
    }
    const double expected = 5.0 * c.samples * 48000 / c.rate * c.deviceChannels * 2;
    EXPECT_NEAR(static_cast<double>(total), expected, expected * 0.05) << c.channels << " ch";
    EXPECT_EQ(state.audioSourceRate, c.rate);
    EXPECT_EQ(state.audioSourceFormat, c.format);
  }
}

TEST_F(Resample, ANewSourceFormatSetsTheResamplerUpAgain) {
  setDevice(state, 48000, 2);
  FramePtr floats = makeFrame(AV_SAMPLE_FMT_FLTP, 2, 48000, 1024);
  ASSERT_GE(resampleFrame(state, floats.get(), out), 0);
  SwrContext* first = state.resampler;
  ASSERT_NE(first, nullptr);
  ASSERT_GE(resampleFrame(state, floats.get(), out), 0);
  EXPECT_EQ(state.resampler, first);
  FramePtr ints = makeFrame(AV_SAMPLE_FMT_S32, 2, 44100, 1024);
  ASSERT_GE(resampleFrame(state, ints.get(), out), 0);
  EXPECT_EQ(state.audioSourceFormat, AV_SAMPLE_FMT_S32);
  EXPECT_EQ(state.audioSourceRate, 44100);
}

TEST_F(Resample, FramesWithoutSamplesOrChannelsAreRefused) {
  setDevice(state, 48000, 2);
  FramePtr frame = makeFrame(AV_SAMPLE_FMT_S16, 2, 48000, 16);
  frame->sample_rate = 0;
  EXPECT_EQ(resampleFrame(state, frame.get(), out), -1);
  EXPECT_TRUE(out.empty());
}
