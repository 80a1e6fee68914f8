#include "gps/Coordinates.h"

#include <cmath>
#include <cstdio>

namespace vantrel {

double nmeaToDegrees(double value) {
  // std::trunc rather than a cast to int: a field may hold any number up to
  // 1e20 or "inf", and the conversion must stay defined for it.
  double degrees = std::trunc(value / 100);
  double minutes = value - degrees * 100;
  return degrees + minutes / 60;
}

std::string formatDegrees(double degrees) {
  int length = std::snprintf(nullptr, 0, "%f", degrees);
  std::string text(static_cast<size_t>(length), '\0');
  std::snprintf(text.data(), text.size() + 1, "%f", degrees);
  return text;
}

std::string formatCoordinate(double degrees, char hemisphere) {
  bool positive = hemisphere == 'N' || hemisphere == 'E';
  // "%f" of -degrees prints exactly "-%f" of degrees for every non-negative
  // value, and gives a negative field a single sign.
  return formatDegrees(positive ? degrees : -degrees);
}

}  // namespace vantrel
