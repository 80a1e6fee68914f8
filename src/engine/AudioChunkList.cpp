#include "engine/AudioChunkList.h"

namespace vantrel {

bool audioChunkAppend(AudioChunkList& list, const uint8_t* data, size_t size, double time,
                      uint64_t serial) {
  if (size == 0) return true;
  AudioChunk chunk;
  chunk.data.assign(data, data + size);
  chunk.time = time;
  std::lock_guard<std::mutex> hold(list.lock);
  if (serial != list.serial) return false;
  list.chunks.push_back(std::move(chunk));
  list.queuedBytes += size;
  return true;
}

void audioChunkListClear(AudioChunkList& list) {
  {
    std::lock_guard<std::mutex> hold(list.lock);
    list.chunks.clear();
    list.queuedBytes = 0;
    list.serial++;
  }
  list.roomCond.notify_all();
}

uint64_t audioChunkSerial(AudioChunkList& list) {
  std::lock_guard<std::mutex> hold(list.lock);
  return list.serial;
}

size_t audioChunkQueuedBytes(AudioChunkList& list) {
  std::lock_guard<std::mutex> hold(list.lock);
  return list.queuedBytes;
}

void audioChunkListWake(AudioChunkList& list) {
  { std::lock_guard<std::mutex> hold(list.lock); }
  list.roomCond.notify_all();
}

}  // namespace vantrel
