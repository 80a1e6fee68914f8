#pragma once
// What a media file holds, read with libavformat for the tests of the files
// the program writes: each stream's codec, its packets and their time span,
// and the number of the first picture (see FrameNumber.h).
#include <algorithm>
#include <string>
#include <vector>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
}

#include "support/FrameNumber.h"

namespace testsupport {

struct StreamProbe {
  AVMediaType type = AVMEDIA_TYPE_UNKNOWN;
  std::string codec;
  int packets = 0;
  double first = 0.0;  // earliest presentation time, seconds
  double end = 0.0;    // latest presentation time plus its duration
};

struct MediaProbe {
  bool opened = false;
  std::vector<StreamProbe> streams;
  int firstPictureNumber = -1;  // -1: no picture decoded

  const StreamProbe* find(AVMediaType type) const {
    for (const StreamProbe& s : streams) {
      if (s.type == type) return &s;
    }
    return nullptr;
  }
};

inline int decodeFirstPictureNumber(AVFormatContext* format, int video) {
  const AVCodec* codec = avcodec_find_decoder(format->streams[video]->codecpar->codec_id);
  AVCodecContext* context = codec ? avcodec_alloc_context3(codec) : nullptr;
  int number = -1;
  if (context && avcodec_parameters_to_context(context, format->streams[video]->codecpar) >= 0 &&
      avcodec_open2(context, codec, nullptr) == 0) {
    AVPacket* packet = av_packet_alloc();
    AVFrame* frame = av_frame_alloc();
    bool draining = false;
    while (number < 0) {
      if (!draining) {
        const int read = av_read_frame(format, packet);
        if (read < 0) {
          draining = true;
          avcodec_send_packet(context, nullptr);
        } else if (packet->stream_index == video) {
          avcodec_send_packet(context, packet);
        }
        av_packet_unref(packet);
      }
      const int received = avcodec_receive_frame(context, frame);
      if (received == 0) {
        number = pictureNumber(frame->data[0], frame->linesize[0]);
      } else if (draining) {
        break;
      }
    }
    av_frame_free(&frame);
    av_packet_free(&packet);
  }
  avcodec_free_context(&context);
  return number;
}

inline MediaProbe probeMedia(const std::string& path) {
  MediaProbe probe;
  AVFormatContext* format = nullptr;
  if (avformat_open_input(&format, path.c_str(), nullptr, nullptr) != 0) return probe;
  if (avformat_find_stream_info(format, nullptr) < 0) {
    avformat_close_input(&format);
    return probe;
  }
  probe.opened = true;
  for (unsigned i = 0; i < format->nb_streams; ++i) {
    StreamProbe s;
    s.type = format->streams[i]->codecpar->codec_type;
    s.codec = avcodec_get_name(format->streams[i]->codecpar->codec_id);
    s.first = 1e18;
    probe.streams.push_back(s);
  }
  AVPacket* packet = av_packet_alloc();
  while (av_read_frame(format, packet) >= 0) {
    StreamProbe& s = probe.streams[packet->stream_index];
    const AVRational base = format->streams[packet->stream_index]->time_base;
    const int64_t stamp = packet->pts != AV_NOPTS_VALUE ? packet->pts : packet->dts;
    if (stamp != AV_NOPTS_VALUE) {
      const double t = stamp * av_q2d(base);
      s.first = std::min(s.first, t);
      s.end = std::max(s.end, t + packet->duration * av_q2d(base));
    }
    s.packets++;
    av_packet_unref(packet);
  }
  av_packet_free(&packet);
  avformat_close_input(&format);
  // Opened again to decode from the start.
  if (avformat_open_input(&format, path.c_str(), nullptr, nullptr) == 0 &&
      avformat_find_stream_info(format, nullptr) >= 0) {
    const int video = av_find_best_stream(format, AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
    if (video >= 0) probe.firstPictureNumber = decodeFirstPictureNumber(format, video);
  }
  avformat_close_input(&format);
  return probe;
}

}  // namespace testsupport
