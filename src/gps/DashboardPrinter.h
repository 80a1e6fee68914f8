#pragma once
// `vantrel --dashboard FILE [--mph]`: plays FILE's track through the
// dashboard without a window, one tick per second of the recording, and
// prints what the readouts show after each tick.
#include <cstdio>
#include <string>

namespace vantrel {

// Line 1: "entries=<n> duration=<d> trackStep=<s> distance=<metres, %.2f>";
// then per tick t = 0 .. duration: t, the track index shown ("-" when the
// tick was ignored) and the seven readout texts (time, latitude, longitude,
// speed, maximum, average, distance), tab-separated. Returns 0, or 1 with the
// reason on err when the recording or its track cannot be read.
int printDashboard(const std::string& recording, bool mph, std::FILE* out, std::FILE* err);

// The command-line mode: arguments after "--dashboard".
int runDashboardPrinter(int argc, char** argv);

}  // namespace vantrel
