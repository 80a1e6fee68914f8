#pragma once
// The dashboard's texts and speed for one split sentence. The magnitudes are
// shown without the hemisphere; the map takes formatCoordinate instead.
#include <string>

#include "gps/GpsFields.h"

namespace vantrel {

struct GpsReadout {
  std::string time;       // "%02d:%02d:%02d" of field 2 read as hhmmss; 123519 -> 12:35:19
  std::string latitude;   // degrees of field 3, "%f" cut (not rounded) to four decimals
  std::string longitude;  // the same of field 5
  float speed = 0;        // field 7, km/h
};

// Numbers are read the way atoi and atof read them: leading blanks skipped,
// reading stops at the first character that cannot continue the number, and
// no number reads as 0.
GpsReadout readGpsReadout(const GpsFields& fields);

}  // namespace vantrel
