#include "engine/Playback.h"

#include "engine/EngineState.h"
#include "engine/PlaybackSession.h"
#include "engine/PlayerState.h"
#include "engine/ThreadName.h"
#include "engine/TrackLoadAhead.h"
#include "engine/Transport.h"

namespace vantrel {

namespace {

// The player back to idle, the last thing a playback does.
void endPlayback(PlayerState& state) {
  state.videoClock = 0.0;
  state.audioClock = 0.0;
  state.quit = false;
  state.paused = false;
  state.finished = true;
  state.playState = Idle;
}

}  // namespace

int playFile(PlayerState& state, PlaybackHost& host, const TrackLoader& loadTrack,
             double* audioSeconds) {
  state.finished = false;
  engineOf(state).stopWorkers = false;
  playerStateInit(state);
  host.showLoading(true);
  TrackLoadAhead track(state, host, loadTrack);
  int result;
  std::string failure;
  {
    PlaybackSession session(state, host, track);
    result = session.open(state.getFileName()) == 0 ? session.play() : -1;
    // Before the close, whose stop would also end the track's load: a
    // recording that does not play still shows its track.
    track.announce();
    failure = session.failure();
    session.close();
    if (audioSeconds) *audioSeconds = session.audioSeconds();
  }
  if (result < 0) {
    state.opening = false;
    host.showLoading(false);
    host.playbackFailed(failure);
  } else {
    host.playbackReset(result == 100);
  }
  endPlayback(state);
  return result;
}

void playbackThreadEntry(PlayerState& state, PlaybackHost& host, const TrackLoader& loadTrack) {
  setCurrentThreadName("playback");
  if (playFile(state, host, loadTrack) == 100) host.advancePlaylist();
}

Playback::Playback(PlayerState& state, PlaybackHost& host, TrackLoader loadTrack)
    : state_(state), host_(host), loadTrack_(std::move(loadTrack)) {}

Playback::~Playback() {
  stopAndJoin();
}

bool Playback::start() {
  if (!state_.finished.load()) return false;
  // The previous thread has finished its playback; it only has to return.
  if (thread_.joinable()) thread_.join();
  state_.finished = false;  // before the thread runs, so a second start waits
  thread_ = std::thread([this] { playbackThreadEntry(state_, host_, loadTrack_); });
  return true;
}

void Playback::stopAndJoin() {
  if (!thread_.joinable()) return;
  if (!state_.finished.load()) stopPlayback(state_);
  thread_.join();
}

}  // namespace vantrel
