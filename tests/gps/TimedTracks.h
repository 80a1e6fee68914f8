#pragma once
// Tracks whose fixes carry their times, as the NMEA, GPX and folder-log
// sources give them, made in memory.
#include <cstdint>
#include <vector>

#include "gps/Track.h"

namespace testsupport {

// One fix per entry of seconds (UTC, counted from 2025-02-21 00:00), driving
// north from 48°N 11.5°E by degreesPerFix (4.4 m) a fix, all at speedKmh.
inline vantrel::Track timedTrack(const std::vector<double>& seconds, float speedKmh = 30,
                                 double degreesPerFix = 0.00004) {
  vantrel::Track track;
  track.source = "nmea";
  track.file = "/drive/clip.NMEA";
  track.streamIndex = 255;
  track.timing = vantrel::kTimingUtc;
  for (size_t i = 0; i < seconds.size(); ++i) {
    vantrel::GpsFix fix;
    fix.flags = vantrel::kFixUtc;
    fix.utcMs = int64_t{1740096000000} + static_cast<int64_t>(seconds[i] * 1000);
    vantrel::setFixPosition(fix, 48.0 + degreesPerFix * static_cast<double>(i), 11.5);
    fix.speedKmh = speedKmh;
    track.fixes.push_back(fix);
  }
  return track;
}

}  // namespace testsupport
