#include "gps/MovieTrack.h"

#include "gps/GpsSentence.h"
#include "gps/NmeaTrack.h"
#include "gps/SentenceTrack.h"
#include "gps/TrackFile.h"

extern "C" {
#include <libavformat/avformat.h>
}

namespace vantrel {

namespace {

// Bytes in front of each text sample's sentence (its length, not read).
constexpr int kSamplePrefix = 2;

int firstTextStream(const AVFormatContext* context) {
  for (unsigned i = 0; i < context->nb_streams; ++i) {
    if (context->streams[i]->codecpar->codec_type == AVMEDIA_TYPE_SUBTITLE) {
      return static_cast<int>(i);
    }
  }
  return -1;
}

std::string errorText(int error) {
  char text[AV_ERROR_MAX_STRING_SIZE] = {};
  av_strerror(error, text, sizeof text);
  return text;
}

// Reads every packet of the text stream. The other streams are discarded
// first, so the demuxer walks their index without reading their data.
void readTextSamples(AVFormatContext* context, int textStream, const TrackRequest& request,
                     SentenceTrackBuilder& sentences, std::string& head) {
  for (unsigned i = 0; i < context->nb_streams; ++i) {
    if (static_cast<int>(i) != textStream) context->streams[i]->discard = AVDISCARD_ALL;
  }
  AVPacket* packet = av_packet_alloc();
  while (packet && !request.stopped() && av_read_frame(context, packet) >= 0) {
    // A sample shorter than its prefix holds no sentence: skip it rather than
    // read past its end.
    if (packet->stream_index == textStream && packet->size >= kSamplePrefix) {
      const char* text = reinterpret_cast<const char*>(packet->data) + kSamplePrefix;
      const std::string sentence =
          sentenceFromBytes(text, static_cast<size_t>(packet->size - kSamplePrefix));
      sentences.add(sentence);
      if (head.size() < kProbeBytes) head.append(sentence).append("\n");
    }
    av_packet_unref(packet);
  }
  av_packet_free(&packet);
}

class MovieTrackSource : public TrackSource {
 public:
  const char* name() const override { return "movie"; }
  TrackPlace place() const override { return TrackPlace::Recording; }
  unsigned timing() const override { return kTimingStep; }
  bool probe(const std::string& file, std::string_view) const override { return isMovieName(file); }
  TrackLoad load(const TrackRequest& request) const override;
};

TrackLoad MovieTrackSource::load(const TrackRequest& request) const {
  TrackLoad load;
  const std::string& path = request.file;
  if (!isRegularTrackFile(path, &load.reason)) return load;
  AVFormatContext* context = nullptr;
  int result = avformat_open_input(&context, path.c_str(), nullptr, nullptr);
  if (result < 0) {
    load.reason = "cannot open '" + path + "': " + errorText(result);
    return load;
  }
  result = avformat_find_stream_info(context, nullptr);
  if (result < 0) {
    avformat_close_input(&context);
    load.reason = "cannot read the streams of '" + path + "': " + errorText(result);
    return load;
  }
  const int textStream = firstTextStream(context);
  SentenceTrackBuilder sentences;
  std::string head;
  if (textStream >= 0) readTextSamples(context, textStream, request, sentences, head);
  avformat_close_input(&context);

  load.result = 0;
  // Standard NMEA (time in field 1) is not this layout: read as it, every
  // time would show 00:00:00 and knots as km/h. The source of NMEA in text
  // streams reads it instead.
  if (classifyTrackText(head) != TrackText::Nmea) load.track = sentences.finish();
  load.track.source = name();
  load.track.file = path;
  load.track.streamIndex = textStream;
  return load;
}

}  // namespace

bool isMovieName(std::string_view name) {
  return name.ends_with(".mov") || name.ends_with(".MOV");
}

const TrackSource& movieTrackSource() {
  static const MovieTrackSource source;
  return source;
}

}  // namespace vantrel
