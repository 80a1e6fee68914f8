#pragma once
// `vantrel --play FILE [--speed S]`: plays FILE through the engine without a
// window, at playback speed S (one of kPlaybackSpeeds, 1 when not given).
// Pictures go to a sink that only counts them, sound to SDL (the dummy
// driver when there is no sound device). Each WM_GPS_SYNC the playback posts
// is printed as "sync <code> <arg>", then one summary line:
//   result=<100|0|-1> duration=<s> frames=<n> audio_seconds=<s.ss> wall=<s.ss>
//   speed=<S> shown=<n> dropped=<n> late=<n> offset_mean=<s> offset_largest=<s>
// (from shown on as formatStats writes it, on the same line; dropped counts
// the pictures too late to show at a speed above 1 too).
// Exit status 0 when the recording played to its end, 1 otherwise, 2 for a
// wrong command line.
#include <cstdint>
#include <cstdio>
#include <optional>

#include "engine/PlaybackHost.h"
#include "engine/PlaybackStats.h"

namespace vantrel {

struct HeadlessSummary {
  int result = -1;
  int64_t durationSeconds = 0;
  int64_t frames = 0;
  double audioSeconds = 0.0;
  double wallSeconds = 0.0;
  double speed = 1.0;
  PlaybackStats stats;
};

// Plays path at speed, printing the sync lines to out; the summary is returned.
HeadlessSummary playHeadless(const char* path, const TrackLoader& loadTrack, std::FILE* out,
                             double speed = 1.0);
void printSummary(const HeadlessSummary& summary, std::FILE* out);

struct HeadlessArguments {
  const char* path = nullptr;
  double speed = 1.0;
};
// FILE and an optional "--speed S" in either order; none when they are wrong
// (no FILE, two, a speed the player does not offer).
std::optional<HeadlessArguments> parseHeadlessArguments(int argc, char** argv);

// The command: argv holds the arguments after "--play".
int runHeadlessPlayer(int argc, char** argv, const TrackLoader& loadTrack);

}  // namespace vantrel
