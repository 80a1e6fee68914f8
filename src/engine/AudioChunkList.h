#pragma once
// Decoded sound waiting for the device: the audio decoder appends blocks of
// device-format samples, the SDL callback brings them to the playback speed
// (TempoStage.h) and consumes them (a block may span several callbacks) and
// keeps the clock of what it handed over, and a seek drops them all and
// restarts the clock.
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <mutex>
#include <vector>

#include "engine/AudioClock.h"
#include "engine/TempoStage.h"

namespace vantrel {

struct AudioChunk {
  std::vector<uint8_t> data;  // interleaved S16 at the device's rate and channels
  size_t offset = 0;          // bytes already handed to the device
  double time = 0.0;          // media time of data[0], seconds
  double speed = 1.0;         // media seconds each second of it plays
};

struct AudioChunkList {
  std::deque<AudioChunk> chunks;  // as decoded; guarded by lock
  TempoStage tempo;               // chunks -> ready; guarded by lock
  std::deque<AudioChunk> ready;   // at the playback speed; guarded by lock
  // Bytes of chunks and ready not yet handed to the device; guarded by lock.
  size_t queuedBytes = 0;
  uint64_t serial = 0;            // bumped by every clear; guarded by lock
  AudioClock clock;               // the sound handed to the device; guarded by lock
  std::mutex lock;
  // Signalled when the callback frees room, on clear and on wake, so a
  // decoder waiting for room rechecks.
  std::condition_variable roomCond;
};

// Queues a copy of size bytes taken at media time `time`. Blocks decoded
// before the last clear (serial differs) are stale and dropped: false.
bool audioChunkAppend(AudioChunkList& list, const uint8_t* data, size_t size, double time,
                      uint64_t serial);
// Drops every waiting block (a seek) and bumps the serial.
void audioChunkListClear(AudioChunkList& list);
// As a clear, and the clock starts again at media (a seek's target, the
// start of a playback).
void audioChunkListRestart(AudioChunkList& list, double media);

struct AudioClockReading {
  double media;          // the media time being heard
  double silentSeconds;  // how long no sound has played
};
AudioClockReading audioChunkClock(AudioChunkList& list, std::chrono::steady_clock::time_point now);
uint64_t audioChunkSerial(AudioChunkList& list);
size_t audioChunkQueuedBytes(AudioChunkList& list);
// Wakes a decoder waiting for room so it can see a stop.
void audioChunkListWake(AudioChunkList& list);

}  // namespace vantrel
