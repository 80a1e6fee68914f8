#include "engine/AudioDecoder.h"

#include <algorithm>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
}

#include "engine/AacPath.h"
#include "engine/AudioOutput.h"
#include "engine/AudioResample.h"
#include "engine/EngineState.h"
#include "engine/PlayerState.h"
#include "engine/StreamDecoder.h"
#include "engine/ThreadName.h"

namespace vantrel {

namespace {
constexpr double kReadAheadSeconds = 1.0;
constexpr int kBytesPerSample = 2;
}  // namespace

AudioDecoder::AudioDecoder(PlayerState& state) : state_(state), engine_(engineOf(state)) {}

AudioDecoder::~AudioDecoder() {
  join();
  close();
}

int AudioDecoder::open(AVStream* stream) {
  close();
  codec_ = openStreamDecoder(stream, 1);  // sound decodes fast on one thread
  if (!codec_) return -1;
  timeBase_ = stream->time_base;
  aac_ = codec_->codec_id == AV_CODEC_ID_AAC;
  return 0;
}

void AudioDecoder::start(int deviceRate, int deviceChannels) {
  deviceRate_ = deviceRate;
  deviceChannels_ = deviceChannels;
  nextTime_ = 0.0;
  thread_ = std::thread([this] { audioDecodeThread(); });
}

void AudioDecoder::join() {
  if (thread_.joinable()) thread_.join();
}

void AudioDecoder::close() {
  avcodec_free_context(&codec_);
  resamplerFree(engine_);
}

bool AudioDecoder::drained() {
  bool idle;
  {
    std::lock_guard<std::mutex> hold(engine_.audioPackets.lock);
    idle = waiting_ && engine_.audioPackets.entries.empty();
  }
  return idle && audioChunkQueuedBytes(engine_.audioChunks) == 0;
}

bool AudioDecoder::stopping() const {
  return engine_.stopWorkers.load() || state_.quit.load();
}

void AudioDecoder::audioDecodeThread() {
  setCurrentThreadName("dec/audio");
  AVFrame* frame = av_frame_alloc();
  uint64_t lastSerial = audioChunkSerial(engine_.audioChunks);
  while (frame && !stopping()) {
    // The serial is read before the packet is taken, so sound from a packet
    // read before a seek can never pass for sound after it.
    const uint64_t serial = audioChunkSerial(engine_.audioChunks);
    if (serial != lastSerial) {  // a seek: forget the old position's state
      avcodec_flush_buffers(codec_);
      lastSerial = serial;
    }
    AVPacket* packet = waitForPacket();
    if (!packet) continue;
    decodePacket(packet, frame, serial);
    av_packet_free(&packet);
  }
  av_frame_free(&frame);
}

AVPacket* AudioDecoder::waitForPacket() {
  AudioPacketList& list = engine_.audioPackets;
  std::unique_lock<std::mutex> hold(list.lock);
  waiting_ = true;
  list.cond.wait(hold, [&] { return stopping() || !list.entries.empty(); });
  waiting_ = false;
  return stopping() ? nullptr : audioPacketTake(list);
}

void AudioDecoder::decodePacket(AVPacket* packet, AVFrame* frame, uint64_t serial) {
  if (avcodec_send_packet(codec_, packet) < 0) return;  // a bad packet is dropped
  while (!stopping() && avcodec_receive_frame(codec_, frame) == 0) {
    queueFrame(frame, serial);
    av_frame_unref(frame);
  }
}

void AudioDecoder::queueFrame(const AVFrame* frame, uint64_t serial) {
  block_.clear();
  if (!convertFrame(frame) || block_.empty()) return;
  const double time = frameTime(frame);
  nextTime_ = time + static_cast<double>(block_.size()) /
                         (static_cast<double>(deviceRate_) * deviceChannels_ * kBytesPerSample);
  if (!waitForRoom(serial)) return;
  audioChunkAppend(engine_.audioChunks, block_.data(), block_.size(), time, serial);
}

bool AudioDecoder::convertFrame(const AVFrame* frame) {
  // The AAC path plays the decoder's float planes directly; anything it
  // cannot take as it is (another rate, another layout) goes the general way.
  if (aac_ && frame->format == AV_SAMPLE_FMT_FLTP && frame->sample_rate == deviceRate_) {
    return aacPath(frame);
  }
  return resampleFrame(engine_, frame, block_) >= 0;
}

bool AudioDecoder::aacPath(const AVFrame* frame) {
  const int planes = frame->ch_layout.nb_channels;
  if (planes <= 0 || !frame->extended_data || frame->nb_samples <= 0) return false;
  const auto* plane = reinterpret_cast<const float*>(frame->extended_data[aacSourcePlane(planes)]);
  if (!plane) return false;
  block_.resize(static_cast<size_t>(frame->nb_samples) * deviceChannels_ * kBytesPerSample);
  aacPlaneToS16(plane, frame->nb_samples, deviceChannels_,
                reinterpret_cast<int16_t*>(block_.data()));
  return true;
}

double AudioDecoder::frameTime(const AVFrame* frame) const {
  int64_t stamp = frame->best_effort_timestamp;
  if (stamp == AV_NOPTS_VALUE) stamp = frame->pts;
  return stamp == AV_NOPTS_VALUE ? nextTime_ : static_cast<double>(stamp) * av_q2d(timeBase_);
}

bool AudioDecoder::waitForRoom(uint64_t serial) {
  AudioChunkList& list = engine_.audioChunks;
  // Faster playback hears more media time a second: the lead grows with it.
  const double lead = kReadAheadSeconds * std::max(1.0, state_.speed.load());
  const size_t limit = static_cast<size_t>(lead * deviceRate_ * deviceChannels_ * kBytesPerSample);
  std::unique_lock<std::mutex> hold(list.lock);
  list.roomCond.wait(
      hold, [&] { return stopping() || list.serial != serial || list.queuedBytes < limit; });
  return !stopping() && list.serial == serial;
}

int audioComponentOpen(EngineState& engine, int streamIndex, AudioOutput& output,
                       AudioDecoder& decoder) {
  AVStream* stream = engine.formatContext->streams[streamIndex];
  if (output.open(stream->codecpar->sample_rate) < 0) return -1;
  audioChunkListRestart(engine.audioChunks, 0.0);
  audioPacketListClear(engine.audioPackets);
  if (decoder.open(stream) < 0) return -1;
  engine.audioStreamIndex = streamIndex;
  engine.audioStream = stream;
  stream->discard = AVDISCARD_DEFAULT;
  engine.stopWorkers = false;
  decoder.start(output.rate(), output.channels());
  output.start();
  return 0;
}

}  // namespace vantrel
