#pragma once
// The playback thread ("playback"): one per playback, started by timer 1 once
// the previous playback has ended, joined before the next one starts and
// before the window goes away.
#include <thread>

#include "engine/PlaybackHost.h"

namespace vantrel {

struct PlayerState;

// Plays the player's fileName: loads its track (sync 0), opens and plays it,
// tears it down. 100 played to its end, 0 stopped, -1 could not be played.
// audioSeconds, when given, receives the seconds of sound handed to the device.
int playFile(PlayerState& state, PlaybackHost& host, const TrackLoader& loadTrack,
             double* audioSeconds = nullptr);

// The thread body: playFile, and after a recording that played to its end
// the next playlist entry.
void playbackThreadEntry(PlayerState& state, PlaybackHost& host, const TrackLoader& loadTrack);

class Playback {
 public:
  Playback(PlayerState& state, PlaybackHost& host, TrackLoader loadTrack);
  ~Playback();
  Playback(const Playback&) = delete;
  Playback& operator=(const Playback&) = delete;

  // Starts a playback thread when none is between its start and its end
  // (finished is 1); false otherwise, and nothing is started.
  bool start();
  // Stops any playback and waits for its thread and its workers.
  void stopAndJoin();

 private:
  PlayerState& state_;
  PlaybackHost& host_;
  TrackLoader loadTrack_;
  std::thread thread_;  // UI thread only
};

}  // namespace vantrel
