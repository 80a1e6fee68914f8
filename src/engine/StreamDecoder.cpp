#include "engine/StreamDecoder.h"

#include <algorithm>
#include <cstdio>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/cpu.h>
}

namespace vantrel {

AVCodecContext* openStreamDecoder(const AVStream* stream, int threads) {
  const AVCodec* codec = avcodec_find_decoder(stream->codecpar->codec_id);
  AVCodecContext* context = codec ? avcodec_alloc_context3(codec) : nullptr;
  if (context && avcodec_parameters_to_context(context, stream->codecpar) >= 0) {
    context->pkt_timebase = stream->time_base;
    context->thread_count = threads;
    if (avcodec_open2(context, codec, nullptr) == 0) return context;
  }
  std::fputs("Unsupported codec!\n", stderr);
  avcodec_free_context(&context);
  return nullptr;
}

int videoDecoderThreads() {
  // FFmpeg starts no more than 16 of its own accord either.
  return std::clamp(av_cpu_count(), 1, 16);
}

}  // namespace vantrel
