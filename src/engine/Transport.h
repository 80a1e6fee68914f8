#pragma once
// The transport as the buttons and sliders drive it: flags of the player
// record only, so any thread may call these; the playback thread acts on them.
#include <cstdint>
#include <string>

extern "C" {
struct AVStream;
}

namespace vantrel {

struct PlayerState;

// Stop: ends any playback (result 0), whatever its state.
void stopPlayback(PlayerState& state);
// Only while playing: paused, playState Paused. The sound stops taking
// blocks, so the audio clock and the pictures stand still.
void pausePlayback(PlayerState& state);
// Only while paused: playing again, and every paused wait woken.
void resumePlayback(PlayerState& state);

// A progress-slider release at `position` seconds. Only while playing or
// paused, and only when the recording has a known length: elapsedSeconds
// becomes the position and the playback thread carries the seek out (paused,
// it shows the new position's picture and stays paused). false when no seek
// was asked for.
bool requestSeek(PlayerState& state, int64_t position);

// A position in whole seconds as a seek target in the stream's time base,
// counted from the stream's start.
int64_t secondsToStreamTime(int64_t seconds, const AVStream* stream);

// "%02d:%02d:%02d" of whole seconds: hours, minutes, seconds.
std::string formatHms(int64_t seconds);

}  // namespace vantrel
