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

namespace {
void clearLocked(AudioChunkList& list) {
  list.chunks.clear();
  list.ready.clear();
  list.tempo.clear();
  list.queuedBytes = 0;
  list.serial++;
}
}  // namespace

void audioChunkListClear(AudioChunkList& list) {
  {
    std::lock_guard<std::mutex> hold(list.lock);
    clearLocked(list);
  }
  list.roomCond.notify_all();
}

void audioChunkListRestart(AudioChunkList& list, double media) {
  {
    std::lock_guard<std::mutex> hold(list.lock);
    clearLocked(list);
    list.clock.restart(media, std::chrono::steady_clock::now());
  }
  list.roomCond.notify_all();
}

AudioClockReading audioChunkClock(AudioChunkList& list, std::chrono::steady_clock::time_point now) {
  std::lock_guard<std::mutex> hold(list.lock);
  return {list.clock.at(now), list.clock.silentFor(now)};
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
