#include "engine/Transport.h"

#include <cmath>
#include <cstdio>

extern "C" {
#include <libavformat/avformat.h>
}

#include "engine/PlayerState.h"

namespace vantrel {

void stopPlayback(PlayerState& state) {
  state.opening = false;
  requestStop(state);
}

void pausePlayback(PlayerState& state) {
  int playing = Playing;
  if (!state.playState.compare_exchange_strong(playing, Paused)) return;
  state.paused = true;
  wakeWaiters(state);  // a picture waiting for its time is held at once
}

void resumePlayback(PlayerState& state) {
  int paused = Paused;
  if (!state.playState.compare_exchange_strong(paused, Playing)) return;
  state.paused = false;
  wakeWaiters(state);
}

namespace {

// A playback is open and its recording has a length to seek within.
bool canSeek(const PlayerState& state) {
  return state.playState.load() != Idle && state.durationSeconds.load() > 0;
}

void seekAsked(PlayerState& state, double position) {
  state.elapsedSeconds = static_cast<int64_t>(position);
  wakeWaiters(state);
}

}  // namespace

bool requestSeek(PlayerState& state, double position) {
  if (!canSeek(state)) return false;
  seekAsked(state, state.seeks.seekTo(position));
  return true;
}

std::optional<double> requestSeekBy(PlayerState& state, double delta) {
  if (!canSeek(state)) return std::nullopt;
  const double shown =
      state.display.shownTime(state.generation.load()).value_or(state.videoClock.load());
  const double position = state.seeks.seekBy(delta, shown);
  seekAsked(state, position);
  return position;
}

bool requestFrameStep(PlayerState& state, int direction, bool repeat) {
  if (state.playState.load() == Idle) return false;
  pausePlayback(state);
  state.seeks.step(direction, repeat);
  wakeWaiters(state);
  return true;
}

int64_t mediaTimeToStreamTime(double seconds, const AVStream* stream) {
  const double tick = av_q2d(stream->time_base);
  return static_cast<int64_t>(std::floor((seconds + kExactSeekTolerance) / tick));
}

double streamStartSeconds(const AVStream* stream) {
  if (stream->start_time == AV_NOPTS_VALUE) return 0.0;
  return static_cast<double>(stream->start_time) * av_q2d(stream->time_base);
}

std::string formatHms(int64_t seconds) {
  if (seconds < 0) seconds = 0;
  char text[32];
  std::snprintf(text, sizeof text, "%02lld:%02lld:%02lld", static_cast<long long>(seconds / 3600),
                static_cast<long long>(seconds / 60 % 60), static_cast<long long>(seconds % 60));
  return text;
}

}  // namespace vantrel
