#pragma once
// Clip records made by hand for the library's pure logic.
#include <cstdlib>
#include <ctime>
#include <optional>
#include <string>
#include <vector>

#include "library/ClipRecord.h"

namespace testsupport {

// Sets TZ for as long as it lives: file-name times are read in the
// machine's zone.
class ScopedTimeZone {
 public:
  explicit ScopedTimeZone(const char* zone) {
    if (const char* tz = std::getenv("TZ")) saved_ = tz;
    setenv("TZ", zone, 1);
    tzset();
  }
  ~ScopedTimeZone() {
    if (saved_) {
      setenv("TZ", saved_->c_str(), 1);
    } else {
      unsetenv("TZ");
    }
    tzset();
  }
  ScopedTimeZone(const ScopedTimeZone&) = delete;
  ScopedTimeZone& operator=(const ScopedTimeZone&) = delete;

 private:
  std::optional<std::string> saved_;
};

// A straight track north from (latitude, longitude), one point a second for
// seconds, moving metresPerSecond at speedKmh.
inline std::vector<vantrel::ClipPoint> straightTrack(double latitude, double longitude, int seconds,
                                                     double metresPerSecond, float speedKmh) {
  std::vector<vantrel::ClipPoint> points;
  for (int s = 0; s < seconds; ++s) {
    vantrel::ClipPoint p;
    p.offsetMs = s * 1000;
    p.latitude = latitude + s * metresPerSecond / 111195.0;
    p.longitude = longitude;
    p.speedKmh = speedKmh;
    points.push_back(p);
  }
  return points;
}

// A readable clip of durationMs at path, modified at mtimeMs.
inline vantrel::ClipRecord clipRecord(const std::string& path, int64_t durationMs,
                                      int64_t mtimeMs = 0,
                                      std::vector<vantrel::ClipPoint> points = {}) {
  vantrel::ClipRecord clip;
  clip.key = {path, 1000, mtimeMs * 1'000'000};
  clip.readable = true;
  clip.durationMs = durationMs;
  clip.points = std::move(points);
  if (!clip.points.empty()) clip.trackSource = "test";
  return clip;
}

}  // namespace testsupport
