#include "engine/StreamProbe.h"

#include <cstring>

extern "C" {
#include <libavformat/avformat.h>
}

namespace vantrel {

namespace {

bool described(const AVStream* stream) {
  const AVCodecParameters* codec = stream->codecpar;
  if (codec->codec_id == AV_CODEC_ID_NONE) return false;
  if (stream->duration == AV_NOPTS_VALUE || stream->duration <= 0) return false;
  if (codec->codec_type == AVMEDIA_TYPE_VIDEO) return codec->width > 0 && codec->height > 0;
  return codec->sample_rate > 0 && codec->ch_layout.nb_channels > 0;
}

}  // namespace

bool headerDescribesStreams(const AVFormatContext* format) {
  // The QuickTime/MP4 reader takes each stream's description and sample
  // table from the header ('moov'); other containers' readers learn them
  // from the packets.
  if (!format || !format->iformat ||
      std::strcmp(format->iformat->name, "mov,mp4,m4a,3gp,3g2,mj2") != 0) {
    return false;
  }
  bool video = false;
  for (unsigned i = 0; i < format->nb_streams; ++i) {
    const AVStream* stream = format->streams[i];
    const AVMediaType type = stream->codecpar->codec_type;
    if (type != AVMEDIA_TYPE_VIDEO && type != AVMEDIA_TYPE_AUDIO) continue;
    if (!described(stream)) return false;
    video = video || type == AVMEDIA_TYPE_VIDEO;
  }
  return video;
}

}  // namespace vantrel
