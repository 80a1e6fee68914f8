#pragma once
// Opens a generated recording into a PlayerState the way the playback thread
// does, so the video path's tests can run its parts on real media.
#include <gtest/gtest.h>

#include <string>

extern "C" {
#include <libavformat/avformat.h>
}

#include "engine/PlayerState.h"

namespace vantrel::videotest {

inline std::string fixture(const char* name) {
  return std::string(VANTREL_FIXTURES) + "/" + name;
}

class VideoRecording {
 public:
  VideoRecording(PlayerState& state, const char* name) : state_(state) {
    opened_ =
        avformat_open_input(&state.formatContext, fixture(name).c_str(), nullptr, nullptr) == 0 &&
        avformat_find_stream_info(state.formatContext, nullptr) >= 0;
    if (!opened_) return;
    video = av_find_best_stream(state.formatContext, AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
    audio = av_find_best_stream(state.formatContext, AVMEDIA_TYPE_AUDIO, -1, -1, nullptr, 0);
    state.videoStreamIndex = video;
    state.videoStream = video >= 0 ? state.formatContext->streams[video] : nullptr;
    state.audioStreamIndex = audio < 0 ? -1 : audio;
    state.audioStream = audio >= 0 ? state.formatContext->streams[audio] : nullptr;
  }
  ~VideoRecording() {
    packetQueueFlush(state_.videoQueue);
    audioPacketListClear(state_.audioPackets);
    state_.videoStream = nullptr;
    state_.audioStream = nullptr;
    avformat_close_input(&state_.formatContext);
  }
  bool opened() const { return opened_; }
  AVStream* videoStream() const { return state_.formatContext->streams[video]; }

  int video = -1;
  int audio = -1;

 private:
  PlayerState& state_;
  bool opened_ = false;
};

}  // namespace vantrel::videotest
