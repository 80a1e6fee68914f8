#include "engine/PlaybackStats.h"

#include <algorithm>
#include <cinttypes>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace vantrel {

std::string formatStats(const PlaybackStats& s) {
  char line[160];
  std::snprintf(line, sizeof line,
                "shown=%" PRId64 " dropped=%" PRId64 " late=%" PRId64
                " offset_mean=%.3f offset_largest=%.3f",
                s.shown, s.dropped, s.late, s.offsetMean, s.offsetLargest);
  return line;
}

void printStatsIfAsked(const PlaybackStats& stats, std::FILE* out) {
  const char* asked = std::getenv("VANTREL_STATS");
  if (!asked || std::strcmp(asked, "1") != 0) return;
  std::fprintf(out, "stats: %s\n", formatStats(stats).c_str());
  std::fflush(out);
}

void StatsRecorder::picture(double offset, double speed) {
  std::lock_guard<std::mutex> hold(lock_);
  ++handed_;
  if (offset < -kLateSeconds * speed) ++late_;
  offsetSum_ += offset;
  if (std::fabs(offset) > std::fabs(offsetLargest_)) offsetLargest_ = offset;
}

PlaybackStats StatsRecorder::stats(int64_t dropped) const {
  std::lock_guard<std::mutex> hold(lock_);
  PlaybackStats s;
  s.dropped = std::min(dropped, handed_);
  s.shown = handed_ - s.dropped;
  s.late = late_;
  s.offsetMean = handed_ ? offsetSum_ / static_cast<double>(handed_) : 0.0;
  s.offsetLargest = offsetLargest_;
  return s;
}

}  // namespace vantrel
