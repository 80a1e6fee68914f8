#include "gps/Track.h"

#include <algorithm>

namespace vantrel {

const char* speedUnitName(SpeedUnit unit) {
  switch (unit) {
    case SpeedUnit::Kmh:
      return "km/h";
    case SpeedUnit::Knots:
      return "knots";
    case SpeedUnit::MetresPerSecond:
      return "m/s";
    case SpeedUnit::CentimetresPerSecond:
      return "cm/s";
  }
  return "";
}

double kmhPer(SpeedUnit unit) {
  switch (unit) {
    case SpeedUnit::Kmh:
      return 1.0;
    case SpeedUnit::Knots:
      return 1.852;
    case SpeedUnit::MetresPerSecond:
      return 3.6;
    case SpeedUnit::CentimetresPerSecond:
      return 0.036;
  }
  return 1.0;
}

bool hasFixOnMap(const Track& track) {
  return std::any_of(track.fixes.begin(), track.fixes.end(),
                     [](const GpsFix& fix) { return fix.has(kFixOnMap); });
}

}  // namespace vantrel
