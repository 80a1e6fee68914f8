#include "gps/SpeedUnitCheck.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "gps/TripStatistics.h"

namespace vantrel {

namespace {

constexpr double kShortestGap = 1.0;  // seconds
constexpr double kLongestGap = 10.0;
constexpr double kMoving = 1.0;     // recorded speed, in any of the units
constexpr double kMovingKmh = 3.0;  // speed between the two positions
constexpr size_t kFewestPairs = 20;
constexpr double kTolerance = 0.08;

// km/h between the positions over recorded speed, or nothing for a pair that
// does not count.
std::optional<double> pairRatio(const SpeedSample& a, const SpeedSample& b) {
  const double gap = b.seconds - a.seconds;
  if (!(gap >= kShortestGap && gap <= kLongestGap)) return std::nullopt;
  if (!(a.speed > kMoving && b.speed > kMoving)) return std::nullopt;
  const double kmh =
      gpsDistanceMetres(a.longitude, a.latitude, b.longitude, b.latitude) / gap * 3.6;
  const double recorded = (a.speed + b.speed) / 2;
  if (!(kmh > kMovingKmh) || !std::isfinite(recorded)) return std::nullopt;
  return kmh / recorded;
}

bool near(double ratio, double factor) {
  return std::fabs(ratio - factor) <= factor * kTolerance;
}

}  // namespace

SpeedUnit detectSpeedUnit(const std::vector<SpeedSample>& samples) {
  std::vector<double> ratios;
  for (size_t i = 1; i < samples.size(); ++i) {
    if (std::optional<double> ratio = pairRatio(samples[i - 1], samples[i])) {
      ratios.push_back(*ratio);
    }
  }
  if (ratios.size() < kFewestPairs) return SpeedUnit::Kmh;
  auto middle = ratios.begin() + static_cast<std::ptrdiff_t>(ratios.size() / 2);
  std::nth_element(ratios.begin(), middle, ratios.end());
  for (SpeedUnit unit : {SpeedUnit::Knots, SpeedUnit::MetresPerSecond}) {
    if (near(*middle, kmhPer(unit))) return unit;
  }
  return SpeedUnit::Kmh;
}

}  // namespace vantrel
