#pragma once
// `vantrel --play FILE`: plays FILE through the engine without a window.
// Pictures go to a sink that only counts them, sound to SDL (the dummy
// driver when there is no sound device). Each WM_GPS_SYNC the playback posts
// is printed as "sync <code> <arg>", then one summary line:
//   result=<100|0|-1> duration=<s> frames=<n> audio_seconds=<s.ss> wall=<s.ss>
//   shown=<n> dropped=<n> late=<n> offset_mean=<s> offset_largest=<s>
// (the second half as formatStats writes it, on the same line).
// Exit status 0 when the recording played to its end, 1 otherwise, 2 for a
// wrong command line.
#include <cstdint>
#include <cstdio>

#include "engine/PlaybackHost.h"
#include "engine/PlaybackStats.h"

namespace vantrel {

struct HeadlessSummary {
  int result = -1;
  int64_t durationSeconds = 0;
  int64_t frames = 0;
  double audioSeconds = 0.0;
  double wallSeconds = 0.0;
  PlaybackStats stats;
};

// Plays path, printing the sync lines to out; the summary is returned.
HeadlessSummary playHeadless(const char* path, const TrackLoader& loadTrack, std::FILE* out);
void printSummary(const HeadlessSummary& summary, std::FILE* out);

// The command: argv holds the arguments after "--play".
int runHeadlessPlayer(int argc, char** argv, const TrackLoader& loadTrack);

}  // namespace vantrel
