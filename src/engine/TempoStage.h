#pragma once
// Decoded sound on its way to the device at the playback speed. Blocks move
// from the decoded list into the list ready to play: as they are at speed 1,
// through the atempo filter (pitch kept) at any other. A ready block records
// how many media seconds each of its seconds plays, so the clock follows the
// speed. A new speed starts a new filter on the sound the old one still held
// (kept here), so the change is heard at once and nothing is lost or played
// twice; a gap in the decoded sound and a decoded list that runs dry drain
// the filter instead. Guarded by the decoded-sound list's lock; the device
// callback drives it.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "engine/AudioTempo.h"

namespace vantrel {

struct AudioChunk;
struct AudioChunkList;

class TempoStage {
 public:
  // Forgets what the filter holds (a seek, a new playback).
  void clear();
  // Moves decoded blocks into the ready list until it holds at least `want`
  // bytes or nothing decoded is left, keeping the list's queuedBytes. The
  // sound is interleaved S16 of rate and channels.
  void refill(AudioChunkList& list, size_t want, double speed, int rate, int channels);

 private:
  // Takes one decoded block; returns the bytes it added to the ready list.
  size_t take(AudioChunkList& list, AudioChunk chunk, double speed);
  bool start(double time, double speed);
  // Hands sound at `time` to the filter, and keeps it until it comes out.
  void push(const uint8_t* data, size_t bytes, double time);
  // What the filter has made goes to the ready list; returns its bytes.
  size_t pullInto(AudioChunkList& list);
  size_t drain(AudioChunkList& list);

  AudioTempo tempo_;
  bool running_ = false;  // the filter is open and takes sound
  double speed_ = 1.0;    // the running filter's
  double nextIn_ = 0.0;   // media time right after the last sound pushed
  int rate_ = 0;
  int channels_ = 0;
  double bytesPerSecond_ = 0.0;
  // The sound pushed into the filter that has not come out yet, from
  // heldTime_ on.
  std::vector<uint8_t> held_;
  double heldTime_ = 0.0;
  bool warned_ = false;  // a filter that could not be made was reported
};

}  // namespace vantrel
