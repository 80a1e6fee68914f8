#include "engine/PacketQueue.h"

namespace vantrel {

AVPacket* flushPacket() {
  static AVPacket* marker = [] {
    AVPacket* p = av_packet_alloc();
    static uint8_t text[] = "FLUSH";
    p->data = text;
    p->size = 0;
    return p;
  }();
  return marker;
}

bool isFlushPacket(const AVPacket* packet) {
  return packet->data == flushPacket()->data;
}

void packetQueueInit(PacketQueue& queue) {
  packetQueueFlush(queue);
}

namespace {

void putLocked(PacketQueue& queue, AVPacket* entry) {
  queue.entries.push_back(entry);
  queue.count++;
  queue.byteSize += entry->size;
  queue.durationTicks += entry->duration;
}

}  // namespace

void packetQueuePutMarker(PacketQueue& queue, int64_t target) {
  {
    std::lock_guard<std::mutex> hold(queue.lock);
    queue.markerSerial = queue.serial.load();
    queue.markerTarget = target;
    putLocked(queue, flushPacket());
  }
  queue.cond.notify_one();
}

int packetQueuePut(PacketQueue& queue, AVPacket* packet) {
  if (packet == flushPacket()) {
    packetQueuePutMarker(queue, AV_NOPTS_VALUE);
    return 0;
  }
  AVPacket* entry = av_packet_alloc();
  if (!entry || av_packet_ref(entry, packet) < 0) {
    av_packet_free(&entry);
    return -1;
  }
  {
    std::lock_guard<std::mutex> hold(queue.lock);
    putLocked(queue, entry);
  }
  queue.cond.notify_one();
  return 0;
}

static void releaseEntry(AVPacket* entry) {
  if (entry != flushPacket()) av_packet_free(&entry);
}

int packetQueueGet(PacketQueue& queue, AVPacket* out, int block, const std::atomic<bool>& quit) {
  std::unique_lock<std::mutex> hold(queue.lock);
  for (;;) {
    if (quit.load()) return -1;
    if (!queue.entries.empty()) {
      AVPacket* entry = queue.entries.front();
      queue.entries.pop_front();
      queue.count--;
      queue.byteSize -= entry->size;
      queue.durationTicks -= entry->duration;
      if (entry == flushPacket()) {
        av_packet_unref(out);
        out->data = entry->data;  // shallow: the marker's text is never freed
        out->pos = queue.markerSerial;
        out->pts = queue.markerTarget;
      } else {
        av_packet_move_ref(out, entry);
        releaseEntry(entry);
      }
      return 1;
    }
    if (!block) return 0;
    queue.cond.wait(hold);
  }
}

PacketQueue::~PacketQueue() {
  packetQueueFlush(*this);
}

AudioPacketList::~AudioPacketList() {
  audioPacketListClear(*this);
}

void packetQueueFlush(PacketQueue& queue) {
  std::lock_guard<std::mutex> hold(queue.lock);
  for (AVPacket* entry : queue.entries) releaseEntry(entry);
  queue.entries.clear();
  queue.count = 0;
  queue.byteSize = 0;
  queue.durationTicks = 0;
  queue.serial++;
}

bool packetQueueHoldsKey(PacketQueue& queue) {
  std::lock_guard<std::mutex> hold(queue.lock);
  for (const AVPacket* entry : queue.entries) {
    if (entry == flushPacket()) return false;
    if (entry->flags & AV_PKT_FLAG_KEY) return true;
  }
  return false;
}

void packetQueueWake(PacketQueue& queue) {
  { std::lock_guard<std::mutex> hold(queue.lock); }
  queue.cond.notify_all();
}

void audioPacketAppend(AudioPacketList& list, AVPacket* packet) {
  list.entries.push_back(packet);
  list.cond.notify_one();  // the caller holds the lock; the waiter wakes once it is released
}

AVPacket* audioPacketTake(AudioPacketList& list) {
  if (list.entries.empty()) return nullptr;
  AVPacket* p = list.entries.front();
  list.entries.pop_front();
  return p;
}

void audioPacketListClear(AudioPacketList& list) {
  std::lock_guard<std::mutex> hold(list.lock);
  for (AVPacket* p : list.entries) av_packet_free(&p);
  list.entries.clear();
}

void audioPacketListWake(AudioPacketList& list) {
  { std::lock_guard<std::mutex> hold(list.lock); }
  list.cond.notify_all();
}

}  // namespace vantrel
