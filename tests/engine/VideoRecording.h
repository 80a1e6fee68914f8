#pragma once
// Opens a generated recording into a PlayerState the way the playback thread
// does, so the video path's tests can run its parts on real media.
#include <gtest/gtest.h>

#include <string>

extern "C" {
#include <libavformat/avformat.h>
}

#include "engine/EngineState.h"
#include "engine/PlayerState.h"

namespace vantrel::videotest {

inline std::string fixture(const char* name) {
  return std::string(VANTREL_FIXTURES) + "/" + name;
}

class VideoRecording {
 public:
  VideoRecording(PlayerState& state, const char* name) : engine_(engineOf(state)) {
    opened_ =
        avformat_open_input(&engine_.formatContext, fixture(name).c_str(), nullptr, nullptr) == 0 &&
        avformat_find_stream_info(engine_.formatContext, nullptr) >= 0;
    if (!opened_) return;
    video = av_find_best_stream(engine_.formatContext, AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
    audio = av_find_best_stream(engine_.formatContext, AVMEDIA_TYPE_AUDIO, -1, -1, nullptr, 0);
    engine_.videoStreamIndex = video;
    engine_.videoStream = video >= 0 ? engine_.formatContext->streams[video] : nullptr;
    engine_.audioStreamIndex = audio < 0 ? -1 : audio;
    engine_.audioStream = audio >= 0 ? engine_.formatContext->streams[audio] : nullptr;
  }
  ~VideoRecording() {
    packetQueueFlush(engine_.videoQueue);
    audioPacketListClear(engine_.audioPackets);
    engine_.videoStream = nullptr;
    engine_.audioStream = nullptr;
    avformat_close_input(&engine_.formatContext);
  }
  bool opened() const { return opened_; }
  AVStream* videoStream() const { return engine_.formatContext->streams[video]; }

  int video = -1;
  int audio = -1;

 private:
  EngineState& engine_;
  bool opened_ = false;
};

}  // namespace vantrel::videotest
