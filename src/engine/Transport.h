#pragma once
// The transport as the buttons and sliders drive it: the commands of the
// player record only (PlayerState.h), so any thread may call these; the
// playback thread acts on them. Volume and speed are single commands, set
// as they stand.
#include <cstdint>
#include <optional>
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

// Seeks, each to the picture at the time asked for (not the key picture
// before it). Only while playing or paused: elapsedSeconds becomes the new
// position and the playback thread carries the seek out (paused, it shows the
// new picture and stays paused).
//
// To `position` seconds from the start (a progress-slider release, Home,
// End). Only for a recording of known length; false when no seek was asked for.
bool requestSeek(PlayerState& state, double position);
// delta seconds on from the picture on screen (or from the target of a seek
// not yet carried out): the position asked for, none when no seek was.
std::optional<double> requestSeekBy(PlayerState& state, double delta);
// One picture forward (+1) or back (-1), pausing first when playing; repeat:
// a key held down. false when nothing plays.
bool requestFrameStep(PlayerState& state, int direction, bool repeat);

// A media time as a seek target in the stream's time base: the last tick at or
// before it (within kExactSeekTolerance), so "at or before the target" means
// the same in ticks and in seconds.
int64_t mediaTimeToStreamTime(double seconds, const AVStream* stream);
// The media time of a stream's position 0: its start time, 0 when unknown.
double streamStartSeconds(const AVStream* stream);

// "%02d:%02d:%02d" of whole seconds: hours, minutes, seconds.
std::string formatHms(int64_t seconds);

}  // namespace vantrel
