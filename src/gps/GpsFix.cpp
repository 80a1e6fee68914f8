#include "gps/GpsFix.h"

#include <cmath>

#include "gps/UtcTime.h"

namespace vantrel {

void setFixPosition(GpsFix& fix, double latitude, double longitude) {
  fix.latitude = latitude;
  fix.longitude = longitude;
  fix.flags |= kFixPosition | kFixOnMap;
  if (std::signbit(latitude)) fix.flags |= kFixSouth;
  if (std::signbit(longitude)) fix.flags |= kFixWest;
}

double readoutLatitude(const GpsFix& fix) {
  return fix.has(kFixSouth) ? -fix.latitude : fix.latitude;
}

double readoutLongitude(const GpsFix& fix) {
  return fix.has(kFixWest) ? -fix.longitude : fix.longitude;
}

int32_t fixClock(const GpsFix& fix) {
  if (fix.has(kFixUtc)) return clockOfUtc(fix.utcMs);
  return fix.has(kFixClock) ? fix.clock : 0;
}

}  // namespace vantrel
