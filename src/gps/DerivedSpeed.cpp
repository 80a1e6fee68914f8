#include "gps/DerivedSpeed.h"

#include <cstddef>

#include "gps/TripStatistics.h"

namespace vantrel {

namespace {

constexpr int64_t kLongestGapMs = 60'000;

// km/h between two fixes, or a negative value when they cannot tell.
double speedBetween(const GpsFix& a, const GpsFix& b) {
  if (!a.has(kFixUtc | kFixOnMap) || !b.has(kFixUtc | kFixOnMap)) return -1;
  const int64_t gap = b.utcMs - a.utcMs;
  if (gap <= 0 || gap > kLongestGapMs) return -1;
  const double metres = gpsDistanceMetres(a.longitude, a.latitude, b.longitude, b.latitude);
  return metres / (static_cast<double>(gap) / 1000) * 3.6;
}

}  // namespace

void deriveMissingSpeeds(std::vector<GpsFix>& fixes) {
  for (size_t i = 0; i < fixes.size(); ++i) {
    GpsFix& fix = fixes[i];
    if (!fix.has(kFixSpeedDerived)) continue;
    double kmh = i > 0 ? speedBetween(fixes[i - 1], fix) : -1;
    if (kmh < 0 && i + 1 < fixes.size()) kmh = speedBetween(fix, fixes[i + 1]);
    fix.speedKmh = kmh < 0 ? 0.0f : static_cast<float>(kmh);
  }
}

}  // namespace vantrel
