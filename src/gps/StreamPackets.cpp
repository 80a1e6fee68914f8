#include "gps/StreamPackets.h"

#include <algorithm>

extern "C" {
#include <libavformat/avformat.h>
}

namespace vantrel {

namespace {

bool wanted(const AVCodecParameters& codec, EmbeddedStream kind) {
  switch (kind) {
    case EmbeddedStream::Text:
      return codec.codec_type == AVMEDIA_TYPE_SUBTITLE;
    case EmbeddedStream::Gpmd:
      return codec.codec_type == AVMEDIA_TYPE_DATA && codec.codec_tag == MKTAG('g', 'p', 'm', 'd');
  }
  return false;
}

int firstStream(const AVFormatContext* context, EmbeddedStream kind) {
  for (unsigned i = 0; i < context->nb_streams; ++i) {
    if (wanted(*context->streams[i]->codecpar, kind)) return static_cast<int>(i);
  }
  return -1;
}

int64_t milliseconds(int64_t value, AVRational timeBase) {
  if (value == AV_NOPTS_VALUE) return 0;
  return av_rescale_q(value, timeBase, AVRational{1, 1000});
}

void readPackets(AVFormatContext* context, int stream, const std::atomic<int>* quit,
                 const std::function<void(const StreamPacket&)>& sink) {
  for (unsigned i = 0; i < context->nb_streams; ++i) {
    if (static_cast<int>(i) != stream) context->streams[i]->discard = AVDISCARD_ALL;
  }
  const AVRational timeBase = context->streams[stream]->time_base;
  AVPacket* packet = av_packet_alloc();
  while (packet && !(quit && quit->load() != 0) && av_read_frame(context, packet) >= 0) {
    if (packet->stream_index == stream && packet->size > 0) {
      StreamPacket sample;
      sample.data = std::span<const uint8_t>(packet->data, static_cast<size_t>(packet->size));
      const int64_t start = packet->pts != AV_NOPTS_VALUE ? packet->pts : packet->dts;
      sample.startMs = std::max<int64_t>(0, milliseconds(start, timeBase));
      sample.durationMs = std::max<int64_t>(0, milliseconds(packet->duration, timeBase));
      sink(sample);
    }
    av_packet_unref(packet);
  }
  av_packet_free(&packet);
}

std::string errorText(int error) {
  char text[AV_ERROR_MAX_STRING_SIZE] = {};
  av_strerror(error, text, sizeof text);
  return text;
}

}  // namespace

StreamRead readStreamPackets(const std::string& file, EmbeddedStream kind,
                             const std::atomic<int>* quit,
                             const std::function<void(const StreamPacket&)>& sink) {
  StreamRead read;
  AVFormatContext* context = nullptr;
  // No avformat_find_stream_info: the movie box names every stream's kind,
  // and probing the codecs would read into the pictures.
  const int opened = avformat_open_input(&context, file.c_str(), nullptr, nullptr);
  if (opened < 0) {
    read.reason = "cannot open '" + file + "': " + errorText(opened);
    return read;
  }
  read.result = 0;
  read.streamIndex = firstStream(context, kind);
  if (read.streamIndex >= 0) readPackets(context, read.streamIndex, quit, sink);
  avformat_close_input(&context);
  return read;
}

}  // namespace vantrel
