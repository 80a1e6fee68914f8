#include "engine/TempoStage.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <utility>

#include "engine/AudioChunkList.h"

namespace vantrel {

namespace {
// Decoded blocks further apart than this (or overlapping by as much) start
// the filter afresh at the new block's time, so the clock stays on the
// stamps instead of counting samples across a hole.
constexpr double kGapSeconds = 0.05;
constexpr int kBytesPerSample = 2;

size_t readyBytes(const AudioChunkList& list) {
  size_t bytes = 0;
  for (const AudioChunk& chunk : list.ready) bytes += chunk.data.size() - chunk.offset;
  return bytes;
}

size_t appendReady(AudioChunkList& list, AudioChunk chunk) {
  const size_t bytes = chunk.data.size() - chunk.offset;
  list.queuedBytes += bytes;
  list.ready.push_back(std::move(chunk));
  return bytes;
}
}  // namespace

void TempoStage::clear() {
  running_ = false;
  held_.clear();
}

void TempoStage::refill(AudioChunkList& list, size_t want, double speed, int rate, int channels) {
  if (rate != rate_ || channels != channels_) {
    clear();
    rate_ = rate;
    channels_ = channels;
    bytesPerSecond_ = static_cast<double>(rate) * channels * kBytesPerSample;
  }
  size_t ready = readyBytes(list);
  while (ready < want && !list.chunks.empty()) {
    AudioChunk chunk = std::move(list.chunks.front());
    list.chunks.pop_front();
    list.queuedBytes -= chunk.data.size() - chunk.offset;
    ready += take(list, std::move(chunk), speed);
  }
  // Nothing more to push for now: what the filter holds back is the sound
  // due next, so it comes out rather than waiting for more.
  if (list.chunks.empty() && running_) drain(list);
}

size_t TempoStage::take(AudioChunkList& list, AudioChunk chunk, double speed) {
  size_t added = 0;
  if (running_ && std::abs(chunk.time - nextIn_) > kGapSeconds) added += drain(list);
  if (running_ && speed != speed_) {
    // The held sound goes on at the new speed, from where the old one stopped.
    // (The held sound starts within a sample frame of the output's position;
    // the position is what the clock has reached.)
    std::vector<uint8_t> held = std::move(held_);
    const double heldTime = tempo_.nextTime();
    held_.clear();
    running_ = false;
    if (speed == 1.0) {
      AudioChunk carried;
      carried.data = std::move(held);
      carried.time = heldTime;
      if (!carried.data.empty()) added += appendReady(list, std::move(carried));
    } else if (start(heldTime, speed)) {
      push(held.data(), held.size(), heldTime);
    }
  }
  if (speed != 1.0 && !running_ && !start(chunk.time, speed))
    speed = 1.0;  // unstretched, not silent
  if (speed == 1.0) {
    chunk.speed = 1.0;
    return added + appendReady(list, std::move(chunk));
  }
  push(chunk.data.data() + chunk.offset, chunk.data.size() - chunk.offset, chunk.time);
  return added + pullInto(list);
}

bool TempoStage::start(double time, double speed) {
  if (tempo_.open(rate_, channels_, speed) < 0) {
    if (!warned_) std::fprintf(stderr, "Cannot play the sound at speed %g: atempo\n", speed);
    warned_ = true;
    return false;
  }
  running_ = true;
  speed_ = speed;
  nextIn_ = heldTime_ = time;
  held_.clear();
  return true;
}

void TempoStage::push(const uint8_t* data, size_t bytes, double time) {
  if (bytes == 0) return;
  tempo_.push(data, bytes, time);
  held_.insert(held_.end(), data, data + bytes);
  nextIn_ = time + bytes / bytesPerSecond_;
}

size_t TempoStage::pullInto(AudioChunkList& list) {
  AudioChunk chunk;
  chunk.time = tempo_.pull(chunk.data);
  if (chunk.time < 0.0) return 0;
  chunk.speed = speed_;
  // What came out is no longer held: the sound before the filter's output
  // position, in whole sample frames.
  const size_t frameBytes = static_cast<size_t>(channels_) * kBytesPerSample;
  const double out = std::max(0.0, tempo_.nextTime() - heldTime_);
  const size_t done =
      std::min(held_.size(), static_cast<size_t>(out * bytesPerSecond_) / frameBytes * frameBytes);
  held_.erase(held_.begin(), held_.begin() + static_cast<std::ptrdiff_t>(done));
  heldTime_ += done / bytesPerSecond_;
  return appendReady(list, std::move(chunk));
}

size_t TempoStage::drain(AudioChunkList& list) {
  tempo_.finish();
  running_ = false;
  const size_t bytes = pullInto(list);
  held_.clear();
  if (bytes == 0) return 0;
  // The filter's count of samples out is only about the sound in over the
  // speed, and its last window comes padded: the last block is stretched or
  // squeezed to end where the sound pushed in ends, so the clock goes on
  // from there without a jump.
  AudioChunk& last = list.ready.back();
  last.speed = std::max(0.0, (nextIn_ - last.time) / (bytes / bytesPerSecond_));
  return bytes;
}

}  // namespace vantrel
