#include "engine/Demuxer.h"

#include <algorithm>
#include <chrono>

extern "C" {
#include <libavformat/avformat.h>
}

#include "engine/EngineState.h"
#include "engine/PlayerState.h"
#include "engine/ThreadName.h"

namespace vantrel {

double readAheadSeconds(double speed) {
  return kReadAheadSeconds * std::max(1.0, speed);
}

Demuxer::Demuxer(PlayerState& state)
    : state_(state), engine_(engineOf(state)), packet_(av_packet_alloc()) {}

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
  return engine_.stopWorkers.load() || state_.quit.load();
}

void Demuxer::demuxThread() {
  setCurrentThreadName("demux");
  while (packet_ && !stopping()) {
    if (state_.paused.load()) {
      waitWhilePaused();  // a pending seek waits for the pause to end
      continue;
    }
    if (engine_.seekRequest.load()) seek();
    if (queueFull()) {
      sleepFor(kQueueFullWaitMs);
      continue;
    }
    // At the end of the file it keeps trying: a seek may follow.
    if (!readPacket()) sleepFor(kReadRetryWaitMs);
  }
}

void Demuxer::waitWhilePaused() {
  // Resume and stop both signal pictureCond.
  std::unique_lock<std::mutex> hold(engine_.pictureLock);
  engine_.pictureCond.wait(hold, [this] { return !state_.paused.load() || stopping(); });
}

void Demuxer::sleepFor(int ms) {
  std::unique_lock<std::mutex> hold(engine_.pictureLock);
  engine_.pictureCond.wait_for(hold, std::chrono::milliseconds(ms),
                               [this] { return stopping() || engine_.seekRequest.load(); });
}

bool Demuxer::queueFull() {
  {
    PacketQueue& queue = engine_.videoQueue;
    std::lock_guard<std::mutex> hold(queue.lock);
    if (queue.byteSize > kMaxVideoQueueBytes) return true;
    const double seconds =
        engine_.videoStream ? queue.durationTicks * av_q2d(engine_.videoStream->time_base) : 0.0;
    if (seconds < readAheadSeconds(state_.speed.load()) && queue.count < kReadAheadPackets) {
      return false;
    }
  }
  return soundWaiting();
}

// Sound stored far behind its pictures is read on until it arrives, or the
// playback would wait for it with the reading stopped.
bool Demuxer::soundWaiting() {
  if (engine_.audioStreamIndex.load() < 0) return true;
  std::lock_guard<std::mutex> hold(engine_.audioPackets.lock);
  return !engine_.audioPackets.entries.empty();
}

bool Demuxer::readPacket() {
  if (av_read_frame(engine_.formatContext, packet_) < 0) {
    endOfFile();
    return false;
  }
  ended_ = false;
  engine_.demuxEnded = false;
  // An empty packet carries nothing to decode (AVI marks dropped frames so);
  // it would be taken for the end mark.
  if (packet_->size > 0) {
    if (packet_->stream_index == engine_.videoStreamIndex.load()) {
      packetQueuePut(engine_.videoQueue, packet_);  // a refused packet is lost
    } else if (packet_->stream_index == engine_.audioStreamIndex.load()) {
      if (AVPacket* entry = av_packet_alloc()) {
        av_packet_move_ref(entry, packet_);
        std::lock_guard<std::mutex> hold(engine_.audioPackets.lock);
        audioPacketAppend(engine_.audioPackets, entry);
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
  if (mark) packetQueuePut(engine_.videoQueue, mark);
  av_packet_free(&mark);
  engine_.demuxEnded = true;
}

void Demuxer::seek() {
  // Not at the end any more, before the request is cleared: the playback
  // never sees the file played out while a seek is under way.
  ended_ = false;
  engine_.demuxEnded = false;
  // Taken next: a request that comes while this one is carried out is
  // carried out after it, not lost.
  engine_.seekRequest = false;
  packetQueueFlush(engine_.videoQueue);
  audioPacketListClear(engine_.audioPackets);
  const int audioIndex = engine_.audioStreamIndex.load();
  const int64_t duration = engine_.videoStream ? engine_.videoStream->duration : AV_NOPTS_VALUE;
  const int64_t target = clampSeekTarget(engine_.seekTargetVideo.load(), duration);
  seekVideoTo(target);
  if (audioIndex >= 0) {
    // Result not checked: a failed seek reads on from where it was.
    avformat_seek_file(engine_.formatContext, audioIndex, INT64_MIN, engine_.seekTargetAudio.load(),
                       INT64_MAX, 0);
  }
  // The clocks start again where the file now stands: pictures without a
  // time of their own count on from there.
  if (engine_.videoStream) state_.videoClock = target * av_q2d(engine_.videoStream->time_base);
  // The sound and its clock start again where the file now stands.
  const double soundAt =
      audioIndex >= 0 && engine_.audioStream
          ? engine_.seekTargetAudio.load() * av_q2d(engine_.audioStream->time_base)
          : 0.0;
  audioChunkListRestart(engine_.audioChunks, soundAt);
  packetQueuePutMarker(engine_.videoQueue, target);
}

void Demuxer::seekVideoTo(int64_t target) {
  AVFormatContext* format = engine_.formatContext;
  const int index = engine_.videoStreamIndex.load();
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
