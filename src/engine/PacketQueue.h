#pragma once
// Thread-safe FIFO of demultiplexed packets (demuxer -> video decoder), and
// the flush marker that tells the decoder a seek happened.
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>

extern "C" {
#include <libavcodec/packet.h>
#include <libavutil/avutil.h>
}

namespace vantrel {

struct PacketQueue {
  PacketQueue() = default;
  PacketQueue(const PacketQueue&) = delete;
  PacketQueue& operator=(const PacketQueue&) = delete;
  // Whatever is still queued when the record goes away is released with it.
  ~PacketQueue();

  std::deque<AVPacket*> entries;  // owned; guarded by lock
  int count = 0;                  // guarded by lock
  int byteSize = 0;               // sum of the queued packets' size; guarded by lock
  int64_t durationTicks = 0;      // sum of their durations, stream time base; guarded by lock
  // Bumped by every flush (a seek), so pictures decoded from packets taken
  // before it are known for stale. Written under lock, read anywhere.
  std::atomic<int> serial{0};
  int markerSerial = 0;  // the serial the queued flush marker starts; guarded by lock
  // The picture time (stream time base) the seek behind the queued marker asked
  // for; AV_NOPTS_VALUE none. Guarded by lock.
  int64_t markerTarget = AV_NOPTS_VALUE;
  std::mutex lock;
  std::condition_variable cond;  // signalled on put and on wake
};

// The marker packet: recognised by identity (its data pointer), never freed.
// Taken from a queue, it carries in its pos the serial that the packets after
// it belong to, and in its pts the seek's target picture time (stream time
// base; AV_NOPTS_VALUE when the seek asked for none).
AVPacket* flushPacket();
bool isFlushPacket(const AVPacket* packet);

void packetQueueInit(PacketQueue& queue);
// 0 queued, -1 not queued. The queue takes a reference to the packet's data.
int packetQueuePut(PacketQueue& queue, AVPacket* packet);
// Queues the flush marker of a seek to the picture at target (stream time base).
void packetQueuePutMarker(PacketQueue& queue, int64_t target);
// 1 a packet was moved into out, 0 empty and not blocking, -1 quit is set.
int packetQueueGet(PacketQueue& queue, AVPacket* out, int block, const std::atomic<bool>& quit);
void packetQueueFlush(PacketQueue& queue);
// Whether a key packet waits in the queue before any flush marker (what
// follows a marker belongs to the seek).
bool packetQueueHoldsKey(PacketQueue& queue);
// Wakes every blocked get so it can see quit.
void packetQueueWake(PacketQueue& queue);

// Audio packets from the demuxer to the audio decoder. Callers hold lock
// around audioPacketAppend/audioPacketTake; the decoder sleeps on cond.
struct AudioPacketList {
  AudioPacketList() = default;
  AudioPacketList(const AudioPacketList&) = delete;
  AudioPacketList& operator=(const AudioPacketList&) = delete;
  ~AudioPacketList();

  std::deque<AVPacket*> entries;  // owned; guarded by lock
  std::mutex lock;
  std::condition_variable cond;  // signalled on append and on wake
};

void audioPacketAppend(AudioPacketList& list, AVPacket* packet);  // takes ownership
AVPacket* audioPacketTake(AudioPacketList& list);                 // caller owns; null if empty
void audioPacketListClear(AudioPacketList& list);                 // takes the lock itself
void audioPacketListWake(AudioPacketList& list);  // so a waiting decoder sees a stop

}  // namespace vantrel
