#include "gps/GpsReadout.h"

#include <cstdio>

#include "gps/Coordinates.h"

namespace vantrel {

namespace {

std::string timeText(int32_t v) {
  char text[48];
  std::snprintf(text, sizeof text, "%02d:%02d:%02d", v / 10000, v / 100 % 100, v % 100);
  return text;
}

// "%f" of the degrees, with at most four digits after the first '.'.
std::string degreesText(double degrees) {
  std::string text = formatDegrees(degrees);
  size_t dot = text.find('.');
  if (dot != std::string::npos && text.size() > dot + 5) text.resize(dot + 5);
  return text;
}

}  // namespace

GpsReadout readGpsReadout(const GpsFix& fix) {
  GpsReadout readout;
  readout.time = timeText(fixClock(fix));
  readout.latitude = degreesText(readoutLatitude(fix));
  readout.longitude = degreesText(readoutLongitude(fix));
  readout.speed = fix.speedKmh;
  return readout;
}

}  // namespace vantrel
