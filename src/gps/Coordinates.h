#pragma once
// Conversion of NMEA degrees-and-minutes (ddmm.mmmm, dddmm.mmmm) to decimal
// degrees and to the coordinate texts the map pages take.
#include <string>

namespace vantrel {

// degrees * 100 + minutes -> degrees + minutes / 60. 4807.0380 -> 48.1173.
// A negative value mirrors the positive one.
double nmeaToDegrees(double value);

// "%f" of degrees (six decimals, as long as the value needs).
std::string formatDegrees(double degrees);

// "%f" of degrees for the positive hemispheres 'N' and 'E'; the same digits
// with a minus sign in front for any other hemisphere character.
std::string formatCoordinate(double degrees, char hemisphere);

}  // namespace vantrel
