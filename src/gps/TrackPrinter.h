#pragma once
// `vantrel --track FILE`: loads FILE's track as a playback would and prints
// it the way the dashboard reads it, without opening a window.
#include <cstdio>
#include <string>

namespace vantrel {

// One entry: "index<TAB>rejected", or "index<TAB>ok" followed by the time,
// latitude and longitude readouts, the speed as "%.2f" and the map latitude
// and longitude ("-" for both when the sentence is not valid for the map).
std::string formatTrackEntry(size_t index, const std::string& sentence);

// Writes "source=movie|sidecar stream=<gpsStreamIndex> entries=<n>" and one
// line per entry to out. Returns 0 when the loader returned 0; otherwise
// writes the reason to err and returns 1.
int printTrack(const std::string& recording, std::FILE* out, std::FILE* err);

// The command-line mode: arguments after "--track".
int runTrackPrinter(int argc, char** argv);

}  // namespace vantrel
