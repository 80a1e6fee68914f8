#pragma once
// What a binary record must hold to count as a fix: cameras fill the fields
// of a record before the receiver has a position, with zeros or leftovers.
#include <cmath>

namespace vantrel {

// Finite degrees on the globe, and not exactly 0/0, which receivers write
// before they have a position.
inline bool plausiblePosition(double latitude, double longitude) {
  return std::isfinite(latitude) && std::isfinite(longitude) && std::fabs(latitude) <= 90 &&
         std::fabs(longitude) <= 180 && !(latitude == 0 && longitude == 0);
}

// A speed a vehicle may have, in km/h; anything else reads as 0.
inline float plausibleSpeed(double kmh) {
  return std::isfinite(kmh) && kmh >= 0 && kmh < 2000 ? static_cast<float>(kmh) : 0.0f;
}

}  // namespace vantrel
