#include "engine/AudioResample.h"

#include <cstdio>

extern "C" {
#include <libavutil/channel_layout.h>
#include <libavutil/common.h>
#include <libavutil/frame.h>
#include <libavutil/samplefmt.h>
#include <libswresample/swresample.h>
}

#include "engine/EngineState.h"

namespace vantrel {

namespace {

constexpr int kBytesPerSample = 2;  // the device takes signed 16-bit samples

bool matchesDevice(const EngineState& engine, const AVFrame* frame, uint64_t layout) {
  return frame->format == AV_SAMPLE_FMT_S16 && layout == engine.audioTargetLayout &&
         frame->ch_layout.nb_channels == engine.audioTargetChannels &&
         frame->sample_rate == engine.audioTargetRate;
}

bool needsNewResampler(const EngineState& engine, const AVFrame* frame, uint64_t layout) {
  return !engine.resampler || frame->format != engine.audioSourceFormat ||
         layout != engine.audioSourceLayout || frame->sample_rate != engine.audioSourceRate;
}

void layoutFor(AVChannelLayout* out, uint64_t mask, int channels) {
  if (mask == 0 || av_channel_layout_from_mask(out, mask) < 0) {
    av_channel_layout_default(out, channels);
  }
}

int setUpResampler(EngineState& engine, const AVFrame* frame, uint64_t layout) {
  resamplerFree(engine);
  AVChannelLayout in{}, out{};
  layoutFor(&in, layout, frame->ch_layout.nb_channels);
  layoutFor(&out, engine.audioTargetLayout, engine.audioTargetChannels);
  int result = swr_alloc_set_opts2(
      &engine.resampler, &out, AV_SAMPLE_FMT_S16, engine.audioTargetRate, &in,
      static_cast<AVSampleFormat>(frame->format), frame->sample_rate, 0, nullptr);
  av_channel_layout_uninit(&in);
  av_channel_layout_uninit(&out);
  if (result < 0 || swr_init(engine.resampler) < 0) {
    resamplerFree(engine);
    return -1;
  }
  engine.audioSourceLayout = layout;
  engine.audioSourceRate = frame->sample_rate;
  engine.audioSourceFormat = frame->format;
  return 0;
}

int copyAsIs(const EngineState& engine, const AVFrame* frame, std::vector<uint8_t>& out) {
  const size_t bytes =
      static_cast<size_t>(frame->nb_samples) * engine.audioTargetChannels * kBytesPerSample;
  out.insert(out.end(), frame->data[0], frame->data[0] + bytes);
  return static_cast<int>(bytes);
}

int convert(EngineState& engine, const AVFrame* frame, std::vector<uint8_t>& out) {
  const int capacity = swr_get_out_samples(engine.resampler, frame->nb_samples);
  if (capacity < 0) return -1;
  const size_t frameBytes = static_cast<size_t>(engine.audioTargetChannels) * kBytesPerSample;
  const size_t start = out.size();
  out.resize(start + static_cast<size_t>(capacity) * frameBytes);
  uint8_t* target = out.data() + start;
  const int produced =
      swr_convert(engine.resampler, &target, capacity,
                  const_cast<const uint8_t**>(frame->extended_data), frame->nb_samples);
  out.resize(start + static_cast<size_t>(produced > 0 ? produced : 0) * frameBytes);
  return produced < 0 ? -1 : static_cast<int>(produced * frameBytes);
}

}  // namespace

uint64_t frameSourceLayout(const AVFrame* frame) {
  const AVChannelLayout& own = frame->ch_layout;
  if (own.order == AV_CHANNEL_ORDER_NATIVE && own.u.mask != 0 &&
      av_popcount64(own.u.mask) == own.nb_channels) {
    return own.u.mask;
  }
  AVChannelLayout fallback{};
  av_channel_layout_default(&fallback, own.nb_channels);
  const uint64_t mask = fallback.order == AV_CHANNEL_ORDER_NATIVE ? fallback.u.mask : 0;
  av_channel_layout_uninit(&fallback);
  return mask;
}

int resampleFrame(EngineState& engine, const AVFrame* frame, std::vector<uint8_t>& out) {
  if (frame->nb_samples <= 0 || frame->sample_rate <= 0 || frame->ch_layout.nb_channels <= 0) {
    return -1;
  }
  const uint64_t layout = frameSourceLayout(frame);
  if (matchesDevice(engine, frame, layout)) return copyAsIs(engine, frame, out);
  if (needsNewResampler(engine, frame, layout) && setUpResampler(engine, frame, layout) < 0) {
    std::fputs("swr_init() failed\n", stderr);
    return -1;
  }
  const int bytes = convert(engine, frame, out);
  if (bytes < 0) std::fputs("swr_convert() failed\n", stderr);
  return bytes;
}

void resamplerFree(EngineState& engine) {
  swr_free(&engine.resampler);
}

}  // namespace vantrel
