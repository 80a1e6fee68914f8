#pragma once
// The record of the current playback between the window and the engine:
// the commands the transport gives (Transport.h), what the playback shows of
// itself, and the display step. What the engine's threads share among
// themselves is behind engineOf (EngineState.h), out of the window's reach.
#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

#include "engine/Display.h"
#include "engine/SeekRequests.h"

namespace vantrel {

enum PlayState { Idle = 0, Paused = 1, Playing = 2 };

struct EngineState;

struct PlayerState {
  PlayerState();
  ~PlayerState();
  PlayerState(const PlayerState&) = delete;
  PlayerState& operator=(const PlayerState&) = delete;

  // Commands: the window (or the headless player) writes them from any
  // thread, through Transport.h where more than one field moves; the
  // playback thread and its workers act on them. Each is atomic on its own;
  // seeks guards itself.
  std::atomic<bool> quit{false};  // stop: also ends a track load under way
  // The workers stand still. Set with playState by Pause and cleared by
  // Resume; the playback thread lifts it while a paused seek or frame step
  // brings its picture.
  std::atomic<bool> paused{false};
  std::atomic<int> volume{0};  // 0..128
  // Media seconds played each second (kPlaybackSpeeds); the window sets it,
  // and it is kept from one playback to the next as the volume is.
  std::atomic<double> speed{1.0};
  // Seeks and frame steps asked for, which the playback thread turns into
  // seek targets with the streams it owns.
  SeekRequests seeks;

  // Status: the playback thread and its workers write these (playState also
  // the transport's pause and resume; elapsedSeconds and opening also the
  // window, as it shows the playback); anyone reads them.
  std::atomic<int> playState{Idle};
  // A playback has started and the window does not yet show it playing
  // (or ended); nothing else starts meanwhile.
  std::atomic<bool> opening{false};
  std::atomic<bool> finished{true};  // no playback thread between its start and its end
  std::atomic<int64_t> durationSeconds{0};
  std::atomic<int64_t> elapsedSeconds{0};
  // Clocks in media seconds: the video decoder's (the last picture decoded)
  // and the one the pictures are paced against (the sound heard, or the
  // steady pace without sound), the playback thread's.
  std::atomic<double> videoClock{0.0};
  std::atomic<double> audioClock{0.0};
  // Bumped by every playerStateInit, so stale posts are recognised and dropped.
  std::atomic<uint32_t> generation{0};

  std::string getFileName() const;
  void setFileName(std::string path);

  // The display step, run by the playback thread; it outlives playbacks, so
  // its picture buffers and its statistics serve the window's whole life.
  // Its statistics and the time shown are for anyone (its own locks).
  Display display;

 private:
  friend EngineState& engineOf(PlayerState& state);

  mutable std::mutex fileNameLock_;
  std::string fileName_;  // guarded by fileNameLock_
  const std::unique_ptr<EngineState> engine_;
};

// Start-of-playback reset.
void playerStateInit(PlayerState& state);
// Sets quit and stopWorkers and wakes every wait that must see them.
void requestStop(PlayerState& state);
// Waits at most tries x stepMs for predicate, sleeping between checks.
// Returns whether it became true.
template <typename Predicate>
bool waitBounded(Predicate predicate, int tries = 20, int stepMs = 50);
// Wakes the picture hand-over and the video queue so their waiters recheck.
void wakeWaiters(PlayerState& state);

}  // namespace vantrel

#include <chrono>
#include <thread>

template <typename Predicate>
bool vantrel::waitBounded(Predicate predicate, int tries, int stepMs) {
  for (int i = 0; i < tries; ++i) {
    if (predicate()) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(stepMs));
  }
  return predicate();
}
