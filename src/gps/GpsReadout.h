#pragma once
// The dashboard's texts and speed for one fix. The readouts show magnitudes
// without the hemisphere; the map takes the signed degrees instead.
#include <string>

#include "gps/GpsFix.h"

namespace vantrel {

struct GpsReadout {
  std::string time;       // "%02d:%02d:%02d" of the fix's hhmmss; 123519 -> 12:35:19
  std::string latitude;   // "%f" of the degrees cut (not rounded) to four decimals
  std::string longitude;  // the same of the longitude
  float speed = 0;        // km/h
};

GpsReadout readGpsReadout(const GpsFix& fix);

}  // namespace vantrel
