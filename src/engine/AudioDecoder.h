#pragma once
// The audio decoding thread ("dec/audio"): takes packets from the engine's
// audio packet list, decodes them, brings them to the device's format (the
// AAC path, or the general path through the resampler) and queues them for
// the callback. It stays about a second ahead of the device and sleeps
// otherwise, so memory stays bounded, seeks are quick and a pause costs
// nothing. It never touches the audio clock.
#include <atomic>
#include <cstdint>
#include <thread>
#include <vector>

extern "C" {
#include <libavutil/rational.h>
struct AVCodecContext;
struct AVFrame;
struct AVPacket;
struct AVStream;
}

namespace vantrel {

struct EngineState;
struct PlayerState;
class AudioOutput;

class AudioDecoder {
 public:
  explicit AudioDecoder(PlayerState& state);
  ~AudioDecoder();
  AudioDecoder(const AudioDecoder&) = delete;
  AudioDecoder& operator=(const AudioDecoder&) = delete;

  // Finds and opens the stream's decoder: 0, or -1 with "Unsupported codec!".
  int open(AVStream* stream);
  // Starts the thread, producing sound for a device of this rate and channel count.
  void start(int deviceRate, int deviceChannels);
  // Waits for the thread; the caller has set stopWorkers or quit and woken the lists.
  void join();
  void close();

  // Nothing is left to decode and nothing waits to be heard.
  bool drained();

 private:
  void audioDecodeThread();
  AVPacket* waitForPacket();
  void decodePacket(AVPacket* packet, AVFrame* frame, uint64_t serial);
  void queueFrame(const AVFrame* frame, uint64_t serial);
  bool convertFrame(const AVFrame* frame);
  bool aacPath(const AVFrame* frame);
  double frameTime(const AVFrame* frame) const;
  bool waitForRoom(uint64_t serial);
  bool stopping() const;

  PlayerState& state_;
  EngineState& engine_;  // engineOf(state_)
  AVCodecContext* codec_ = nullptr;
  AVRational timeBase_{1, 1};
  bool aac_ = false;
  int deviceRate_ = 0;
  int deviceChannels_ = 0;
  std::thread thread_;
  bool waiting_ = false;  // blocked for a packet on an empty list; guarded by the list's lock

  // Decoding thread only.
  double nextTime_ = 0.0;       // media time right after the last queued block
  std::vector<uint8_t> block_;  // the frame in the device's format
};

// The audio branch of opening a stream: the device at the stream's rate, the
// lists emptied, the decoder opened, the thread and the device started.
// 0, or -1 when the device or the decoder cannot be opened.
int audioComponentOpen(EngineState& engine, int streamIndex, AudioOutput& output,
                       AudioDecoder& decoder);

}  // namespace vantrel
