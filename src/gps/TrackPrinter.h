#pragma once
// `vantrel --track FILE`: loads FILE's track as a playback would and prints
// every fix the way the dashboard shows it, without opening a window.
#include <cstdio>
#include <string>

#include "gps/Track.h"

namespace vantrel {

// One fix: "index<TAB>rejected" for an entry that shows nothing, or
// "index<TAB>ok" followed by the time, latitude and longitude readouts, the
// speed in km/h as "%.2f" and the map latitude and longitude ("-" for both
// when the fix may not be drawn).
std::string formatTrackEntry(size_t index, const GpsFix& fix);

// The first line: "source=movie|sidecar stream=<index> entries=<n>" for the
// sentence layout, "source=<name> file=<file name> entries=<n>" for the
// other sources; " speed_unit=<unit>" follows when the unit check found the
// speeds written in knots or m/s.
std::string trackHeader(const Track& track);

// Writes the header and one line per fix to out. Returns 0 when the track
// could be read; otherwise writes the reason to err and returns 1.
int printTrack(const std::string& recording, std::FILE* out, std::FILE* err);

// The command-line mode: arguments after "--track".
int runTrackPrinter(int argc, char** argv);

}  // namespace vantrel
