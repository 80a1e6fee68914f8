#include "gps/StreamPackets.h"

#include <algorithm>
#include <array>

#include "gps/IsoMediaFormat.h"

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

void readPackets(AVFormatContext* context, int stream, const std::atomic<bool>* quit,
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

// libavformat's view of the bytes: reads and seeks through MediaBytes.
struct Reader {
  MediaBytes& bytes;
  uint64_t position = 0;
};

int readBytes(void* opaque, uint8_t* buffer, int size) {
  auto* reader = static_cast<Reader*>(opaque);
  const size_t got =
      reader->bytes.readAt(reader->position, std::span(buffer, static_cast<size_t>(size)));
  reader->position += got;
  return got > 0 ? static_cast<int>(got) : AVERROR_EOF;
}

int64_t seekBytes(void* opaque, int64_t offset, int whence) {
  auto* reader = static_cast<Reader*>(opaque);
  const auto size = static_cast<int64_t>(reader->bytes.size());
  if (whence & AVSEEK_SIZE) return size;
  int64_t base = 0;
  switch (whence & ~AVSEEK_FORCE) {
    case SEEK_SET:
      break;
    case SEEK_CUR:
      base = static_cast<int64_t>(reader->position);
      break;
    case SEEK_END:
      base = size;
      break;
    default:
      return AVERROR(EINVAL);
  }
  if (offset > INT64_MAX - base || base + offset < 0) return AVERROR(EINVAL);
  reader->position = static_cast<uint64_t>(base + offset);
  return base + offset;
}

// A page: the movie box is read a page at a time, each sample in a read or two.
constexpr int kBufferBytes = 4096;

// The bytes behind io opened with format (probed when nullptr); nullptr when
// libavformat cannot read them.
AVFormatContext* openThrough(AVIOContext* io, const AVInputFormat* format) {
  AVFormatContext* context = avformat_alloc_context();
  if (!context) return nullptr;
  context->pb = io;
  context->flags |= AVFMT_FLAG_CUSTOM_IO;
  // No avformat_find_stream_info: the movie box names every stream's
  // kind, and probing the codecs would read into the pictures.
  if (avformat_open_input(&context, nullptr, format, nullptr) < 0) return nullptr;
  return context;
}

}  // namespace

StreamRead readStreamPackets(MediaBytes& bytes, EmbeddedStream kind, const std::atomic<bool>* quit,
                             const std::function<void(const StreamPacket&)>& sink) {
  StreamRead read;
  Reader reader{bytes};
  std::array<uint8_t, kIsoMediaHeadBytes> head{};
  const AVInputFormat* iso = bytes.readAt(0, head) == head.size() ? isoMediaFormat(head) : nullptr;
  auto* buffer = static_cast<uint8_t*>(av_malloc(kBufferBytes));
  AVIOContext* io =
      buffer ? avio_alloc_context(buffer, kBufferBytes, 0, &reader, readBytes, nullptr, seekBytes)
             : nullptr;
  AVFormatContext* context = io ? openThrough(io, iso) : nullptr;
  // Not the movie its head promised: libavformat probes what it is.
  if (!context && iso && avio_seek(io, 0, SEEK_SET) == 0) context = openThrough(io, nullptr);
  if (context) {
    read.result = 0;
    read.streamIndex = firstStream(context, kind);
    if (read.streamIndex >= 0) readPackets(context, read.streamIndex, quit, sink);
    avformat_close_input(&context);
  }
  if (io)
    av_freep(&io->buffer);
  else
    av_free(buffer);
  avio_context_free(&io);
  return read;
}

}  // namespace vantrel
