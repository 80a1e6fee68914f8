// A recording whose header describes its streams plays without the probe;
// what the playback reads of its streams is then what the probe would have
// found.
#include <gtest/gtest.h>

#include <string>

#include "engine/StreamProbe.h"

extern "C" {
#include <libavformat/avformat.h>
}

namespace vantrel {
namespace {

struct Opened {
  explicit Opened(const std::string& name, bool probe) {
    const std::string path = std::string(VANTREL_FIXTURES) + "/" + name;
    if (avformat_open_input(&format, path.c_str(), nullptr, nullptr) != 0) return;
    if (probe && avformat_find_stream_info(format, nullptr) < 0) avformat_close_input(&format);
  }
  ~Opened() { avformat_close_input(&format); }
  AVFormatContext* format = nullptr;
};

// What the playback takes from a picture or sound stream.
std::string streamFacts(const AVStream* stream) {
  const AVCodecParameters* codec = stream->codecpar;
  return std::to_string(codec->codec_type) + " codec " + std::to_string(codec->codec_id) + " " +
         std::to_string(codec->width) + "x" + std::to_string(codec->height) + " delay " +
         std::to_string(codec->video_delay) + " " + std::to_string(codec->sample_rate) + " Hz " +
         std::to_string(codec->ch_layout.nb_channels) + " ch, start " +
         std::to_string(stream->start_time) + " length " + std::to_string(stream->duration) +
         " in " + std::to_string(stream->time_base.num) + "/" +
         std::to_string(stream->time_base.den) + ", rate " +
         std::to_string(stream->r_frame_rate.num) + "/" + std::to_string(stream->r_frame_rate.den) +
         " avg " + std::to_string(stream->avg_frame_rate.num) + "/" +
         std::to_string(stream->avg_frame_rate.den) + " aspect " +
         std::to_string(stream->sample_aspect_ratio.num) + "/" +
         std::to_string(stream->sample_aspect_ratio.den);
}

TEST(StreamProbe, OnlyAHeaderThatDescribesItsStreamsSkipsTheProbe) {
  struct Case {
    const char* name;
    bool described;
  };
  const Case cases[] = {
      {"clip.MOV", true},              // with a GPS text stream
      {"play-mono.MOV", true},         // one sound channel
      {"play-aac.mp4", true},          //
      {"numbered-bframes.mp4", true},  // the decoder holds pictures back
      {"bad-heaac.mp4", true},         // the sound's rate doubles when decoded
      {"play-cut.mp4", true},          // declares more than it carries
      {"play-silent.mp4", true},       // no sound stream
      {"play-pcm.AVI", false},         // AVI learns its streams from the packets
      {"lowrate-pcm8k-10fps.AVI", false},
      {"play-novideo.mp4", false},  // nothing to show: the probe finds out why
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const Opened header(c.name, false);
    ASSERT_NE(header.format, nullptr);
    EXPECT_EQ(headerDescribesStreams(header.format), c.described);
    if (!c.described) continue;
    const Opened probed(c.name, true);
    ASSERT_NE(probed.format, nullptr);
    ASSERT_EQ(header.format->nb_streams, probed.format->nb_streams);
    for (unsigned i = 0; i < header.format->nb_streams; ++i) {
      const AVMediaType type = header.format->streams[i]->codecpar->codec_type;
      if (type != AVMEDIA_TYPE_VIDEO && type != AVMEDIA_TYPE_AUDIO) continue;
      EXPECT_EQ(streamFacts(header.format->streams[i]), streamFacts(probed.format->streams[i]))
          << "stream " << i;
    }
  }
}

TEST(StreamProbe, NothingOpenIsNotDescribed) {
  EXPECT_FALSE(headerDescribesStreams(nullptr));
}

}  // namespace
}  // namespace vantrel
