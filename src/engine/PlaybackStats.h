#pragma once
// How smoothly the pictures reached the screen: how many were shown, how many
// were replaced before the screen could take them, how many came late, and
// where each stood against the sound (its time minus the sound clock as it
// was handed to the screen; negative: behind the sound).
#include <cstdint>
#include <cstdio>
#include <mutex>
#include <string>

namespace vantrel {

// Sound running ahead of the picture by more than this (seconds heard) is
// noticed.
constexpr double kLateSeconds = 0.045;

struct PlaybackStats {
  int64_t shown = 0;
  int64_t dropped = 0;
  int64_t late = 0;
  double offsetMean = 0.0;
  double offsetLargest = 0.0;  // the offset furthest from 0, with its sign
};

// "shown=N dropped=N late=N offset_mean=S offset_largest=S" (seconds, 3 places).
std::string formatStats(const PlaybackStats& stats);

// Prints "stats: " and the line to out when VANTREL_STATS is 1.
void printStatsIfAsked(const PlaybackStats& stats, std::FILE* out);

// Pictures handed to the screen, from the playback thread; read from any.
class StatsRecorder {
 public:
  // offset in seconds of the recording, played at speed.
  void picture(double offset, double speed = 1.0);
  // dropped of the pictures handed over never reached the screen.
  PlaybackStats stats(int64_t dropped = 0) const;

 private:
  mutable std::mutex lock_;
  int64_t handed_ = 0;  // all guarded by lock_
  int64_t late_ = 0;
  double offsetSum_ = 0.0;
  double offsetLargest_ = 0.0;
};

}  // namespace vantrel
