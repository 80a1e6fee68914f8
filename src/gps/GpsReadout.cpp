#include "gps/GpsReadout.h"

#include <cstdio>
#include <cstdlib>

#include "gps/Coordinates.h"

namespace vantrel {

namespace {

// atoi as the C library implements it (strtol narrowed to int), without the
// undefined behaviour atoi has on out-of-range input.
int readInt(const char* text) {
  return static_cast<int>(std::strtol(text, nullptr, 10));
}

std::string timeText(const char* field) {
  int v = readInt(field);
  char text[48];
  std::snprintf(text, sizeof text, "%02d:%02d:%02d", v / 10000, v / 100 % 100, v % 100);
  return text;
}

// "%f" of the degrees, with at most four digits after the first '.'.
std::string degreesText(const char* field) {
  std::string text = formatDegrees(nmeaToDegrees(std::atof(field)));
  size_t dot = text.find('.');
  if (dot != std::string::npos && text.size() > dot + 5) text.resize(dot + 5);
  return text;
}

}  // namespace

GpsReadout readGpsReadout(const GpsFields& fields) {
  GpsReadout readout;
  readout.time = timeText(fields[2]);
  readout.latitude = degreesText(fields[3]);
  readout.longitude = degreesText(fields[5]);
  readout.speed = static_cast<float>(std::atof(fields[7]));
  return readout;
}

}  // namespace vantrel
