#include "engine/Transport.h"

#include <cstdio>

extern "C" {
#include <libavformat/avformat.h>
}

#include "engine/PlayerState.h"

namespace vantrel {

void stopPlayback(PlayerState& state) {
  state.opening = 0;
  requestStop(state);
}

void pausePlayback(PlayerState& state) {
  int playing = Playing;
  if (!state.playState.compare_exchange_strong(playing, Paused)) return;
  state.paused = 1;
}

void resumePlayback(PlayerState& state) {
  int paused = Paused;
  if (!state.playState.compare_exchange_strong(paused, Playing)) return;
  state.paused = 0;
  wakeWaiters(state);
}

bool requestSeek(PlayerState& state, int64_t position) {
  // A recording of unknown length has no slider scale to seek by.
  if (state.playState.load() == Idle || state.durationSeconds.load() <= 0) return false;
  if (position < 0) position = 0;
  state.elapsedSeconds = position;
  state.seekPosition = position;
  wakeWaiters(state);
  return true;
}

int64_t secondsToStreamTime(int64_t seconds, const AVStream* stream) {
  const int64_t start = stream->start_time == AV_NOPTS_VALUE ? 0 : stream->start_time;
  return start + av_rescale_q(seconds, AVRational{1, 1}, stream->time_base);
}

std::string formatHms(int64_t seconds) {
  if (seconds < 0) seconds = 0;
  char text[32];
  std::snprintf(text, sizeof text, "%02lld:%02lld:%02lld", static_cast<long long>(seconds / 3600),
                static_cast<long long>(seconds / 60 % 60), static_cast<long long>(seconds % 60));
  return text;
}

}  // namespace vantrel
