#include "engine/Demuxer.h"

#include <chrono>

extern "C" {
#include <libavformat/avformat.h>
}

#include "engine/PlayerState.h"
#include "engine/ThreadName.h"

namespace vantrel {

Demuxer::Demuxer(PlayerState& state) : state_(state), packet_(av_packet_alloc()) {}

Demuxer::~Demuxer() {
  join();
  av_packet_free(&packet_);
}

void Demuxer::start() {
  thread_ = std::thread([this] { demuxThread(); });
}

void Demuxer::join() {
  if (thread_.joinable()) thread_.join();
}

bool Demuxer::stopping() const {
  return state_.stopWorkers.load() != 0 || state_.quit.load() != 0;
}

void Demuxer::demuxThread() {
  setCurrentThreadName("demux");
  state_.demuxRunning = 1;
  while (packet_ && !stopping()) {
    if (state_.paused.load()) {
      waitWhilePaused();  // a pending seek waits for the pause to end
      continue;
    }
    if (state_.seekRequest.load()) seek();
    if (queueFull()) {
      sleepFor(kQueueFullWaitMs);
      continue;
    }
    // At the end of the file it keeps trying: a seek may follow.
    if (!readPacket()) sleepFor(kReadRetryWaitMs);
  }
  state_.demuxRunning = 0;
}

void Demuxer::waitWhilePaused() {
  // Resume and stop both signal pictureCond.
  std::unique_lock<std::mutex> hold(state_.pictureLock);
  state_.pictureCond.wait(hold, [this] { return state_.paused.load() == 0 || stopping(); });
}

void Demuxer::sleepFor(int ms) {
  std::unique_lock<std::mutex> hold(state_.pictureLock);
  state_.pictureCond.wait_for(hold, std::chrono::milliseconds(ms),
                              [this] { return stopping() || state_.seekRequest.load() != 0; });
}

bool Demuxer::queueFull() {
  {
    PacketQueue& queue = state_.videoQueue;
    std::lock_guard<std::mutex> hold(queue.lock);
    if (queue.byteSize > kMaxVideoQueueBytes) return true;
    const double seconds =
        state_.videoStream ? queue.durationTicks * av_q2d(state_.videoStream->time_base) : 0.0;
    if (seconds < kReadAheadSeconds && queue.count < kReadAheadPackets) return false;
  }
  return soundWaiting();
}

// Sound stored far behind its pictures is read on until it arrives, or the
// playback would wait for it with the reading stopped.
bool Demuxer::soundWaiting() {
  if (state_.audioStreamIndex.load() < 0) return true;
  std::lock_guard<std::mutex> hold(state_.audioPackets.lock);
  return !state_.audioPackets.entries.empty();
}

bool Demuxer::readPacket() {
  if (av_read_frame(state_.formatContext, packet_) < 0) {
    endOfFile();
    return false;
  }
  ended_ = false;
  state_.demuxEnded = 0;
  // An empty packet carries nothing to decode (AVI marks dropped frames so);
  // it would be taken for the end mark.
  if (packet_->size > 0) {
    if (packet_->stream_index == state_.videoStreamIndex.load()) {
      packetQueuePut(state_.videoQueue, packet_);  // a refused packet is lost
    } else if (packet_->stream_index == state_.audioStreamIndex.load()) {
      if (AVPacket* entry = av_packet_alloc()) {
        av_packet_move_ref(entry, packet_);
        std::lock_guard<std::mutex> hold(state_.audioPackets.lock);
        audioPacketAppend(state_.audioPackets, entry);
      }
    }
  }
  av_packet_unref(packet_);
  return true;
}

void Demuxer::endOfFile() {
  if (ended_) return;
  ended_ = true;
  // The end mark makes the decoder give up the pictures it still holds.
  AVPacket* mark = av_packet_alloc();
  if (mark) packetQueuePut(state_.videoQueue, mark);
  av_packet_free(&mark);
  state_.demuxEnded = 1;
}

void Demuxer::seek() {
  // Not at the end any more, before the request is cleared: the playback
  // never sees the file played out while a seek is under way.
  ended_ = false;
  state_.demuxEnded = 0;
  // Taken next: a request that comes while this one is carried out is
  // carried out after it, not lost.
  state_.seekRequest = 0;
  packetQueueFlush(state_.videoQueue);
  audioPacketListClear(state_.audioPackets);
  const int audioIndex = state_.audioStreamIndex.load();
  const int64_t duration = state_.videoStream ? state_.videoStream->duration : AV_NOPTS_VALUE;
  const int64_t target = clampSeekTarget(state_.seekTargetVideo.load(), duration);
  seekVideoTo(target);
  if (audioIndex >= 0) {
    // Result not checked: a failed seek reads on from where it was.
    avformat_seek_file(state_.formatContext, audioIndex, INT64_MIN, state_.seekTargetAudio.load(),
                       INT64_MAX, 0);
  }
  // The clocks start again where the file now stands: pictures without a
  // time of their own count on from there.
  if (state_.videoStream) state_.videoClock = target * av_q2d(state_.videoStream->time_base);
  // The sound and its clock start again where the file now stands.
  const double soundAt = audioIndex >= 0 && state_.audioStream
                             ? state_.seekTargetAudio.load() * av_q2d(state_.audioStream->time_base)
                             : 0.0;
  audioChunkListRestart(state_.audioChunks, soundAt);
  packetQueuePutMarker(state_.videoQueue, target);
}

void Demuxer::seekVideoTo(int64_t target) {
  AVFormatContext* format = state_.formatContext;
  const int index = state_.videoStreamIndex.load();
  // The key picture at or before the target, from which the decoder reaches
  // the target's picture; else (a stream that starts later) the first after.
  if (avformat_seek_file(format, index, INT64_MIN, target, target, 0) >= 0) return;
  avformat_seek_file(format, index, target, target, INT64_MAX, 0);
}

int64_t clampSeekTarget(int64_t target, int64_t duration) {
  if (target < 0) return 0;
  if (duration != AV_NOPTS_VALUE && duration > 0 && target > duration) return duration;
  return target;
}

}  // namespace vantrel
