#include "gps/MovieTrack.h"

#include <vector>

#include "gps/GpsSentence.h"
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
std::vector<std::string> readTextSamples(PlayerState& state, int textStream) {
  AVFormatContext* context = state.formatContext;
  for (unsigned i = 0; i < context->nb_streams; ++i) {
    if (static_cast<int>(i) != textStream) context->streams[i]->discard = AVDISCARD_ALL;
  }
  std::vector<std::string> entries;
  AVPacket* packet = av_packet_alloc();
  while (packet && !state.quit && av_read_frame(context, packet) >= 0) {
    // A sample shorter than its prefix holds no sentence: skip it rather than
    // read past its end.
    if (packet->stream_index == textStream && packet->size >= kSamplePrefix) {
      const char* text = reinterpret_cast<const char*>(packet->data) + kSamplePrefix;
      entries.push_back(sentenceFromBytes(text, static_cast<size_t>(packet->size - kSamplePrefix)));
    }
    av_packet_unref(packet);
  }
  av_packet_free(&packet);
  return entries;
}

}  // namespace

int loadMovieTrack(PlayerState& state, std::string* reason) {
  std::string path = state.getFileName();
  auto fail = [&](const std::string& why) {
    if (reason) *reason = why;
    return -1;
  };
  if (!isRegularTrackFile(path, reason)) return -1;
  uint64_t generation = state.gpsTrack.generation();
  int result = avformat_open_input(&state.formatContext, path.c_str(), nullptr, nullptr);
  if (result < 0) return fail("cannot open '" + path + "': " + errorText(result));
  result = avformat_find_stream_info(state.formatContext, nullptr);
  if (result < 0) {
    avformat_close_input(&state.formatContext);
    return fail("cannot read the streams of '" + path + "': " + errorText(result));
  }

  // Without a text stream there is nothing to gather: the file is not scanned.
  int textStream = firstTextStream(state.formatContext);
  std::vector<std::string> entries;
  if (textStream >= 0) {
    state.gpsStreamIndex = textStream;
    entries = readTextSamples(state, textStream);
  }
  avformat_close_input(&state.formatContext);
  state.gpsTrack.publish(generation, std::move(entries));
  return 0;
}

}  // namespace vantrel
