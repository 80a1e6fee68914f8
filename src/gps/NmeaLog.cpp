#include "gps/NmeaLog.h"

#include <cmath>
#include <cstdio>
#include <ctime>

#include "gps/UtcTime.h"

namespace vantrel {

namespace {

constexpr double kKnotsPerKmh = 1 / 1.852;

// body with its '$', '*', checksum and line end.
std::string sentence(const std::string& body) {
  unsigned checksum = 0;
  for (char c : body) checksum ^= static_cast<unsigned char>(c);
  char tail[8];
  std::snprintf(tail, sizeof tail, "*%02X\r\n", checksum);
  return "$" + body + tail;
}

// Degrees as ddmm.mmmmmm (dddmm.mmmmmm) with the hemisphere letter: minutes
// to 1e-6, some 2 mm.
std::string coordinate(double degrees, int degreeDigits, char positive, char negative) {
  const double magnitude = std::fabs(degrees);
  double whole = std::floor(magnitude);
  double minutes = std::round((magnitude - whole) * 60 * 1e6) / 1e6;
  if (minutes >= 60) {
    whole += 1;
    minutes -= 60;
  }
  char text[32];
  std::snprintf(text, sizeof text, "%0*d%09.6f,%c", degreeDigits, static_cast<int>(whole), minutes,
                degrees < 0 ? negative : positive);
  return text;
}

// "hhmmss.sss" and "ddmmyy" of a UTC time.
void timeAndDate(int64_t utcMs, std::string& time, std::string& date) {
  int64_t day = utcMs / kMsPerDay;
  int64_t msOfDay = utcMs % kMsPerDay;
  if (msOfDay < 0) {
    msOfDay += kMsPerDay;
    day -= 1;
  }
  const std::time_t midnight = static_cast<std::time_t>(day * 86400);
  std::tm civil{};
  gmtime_r(&midnight, &civil);
  char text[16];
  std::snprintf(text, sizeof text, "%02d%02d%02d.%03d", static_cast<int>(msOfDay / 3'600'000),
                static_cast<int>(msOfDay / 60'000 % 60), static_cast<int>(msOfDay / 1000 % 60),
                static_cast<int>(msOfDay % 1000));
  time = text;
  std::snprintf(text, sizeof text, "%02d%02d%02d", civil.tm_mday, civil.tm_mon + 1,
                civil.tm_year % 100);
  date = text;
}

std::string number(double value, int decimals) {
  char text[32];
  std::snprintf(text, sizeof text, "%.*f", decimals, value);
  return text;
}

std::string sentencesOf(const GpsFix& fix) {
  std::string time, date;
  timeAndDate(fix.utcMs, time, date);
  const std::string position =
      coordinate(fix.latitude, 2, 'N', 'S') + "," + coordinate(fix.longitude, 3, 'E', 'W');
  std::string lines;
  if (fix.has(kFixGsensor)) {
    lines += "$GSENSORD," + number(fix.gsensor[0], 3) + "," + number(fix.gsensor[1], 3) + "," +
             number(fix.gsensor[2], 3) + "\r\n";
  }
  // A speed worked out from the positions was not in the file: left empty, it
  // is worked out again.
  const std::string knots = fix.has(kFixSpeedDerived) ? "" : number(fix.speedKmh * kKnotsPerKmh, 4);
  const std::string heading = fix.has(kFixHeading) ? number(fix.heading, 2) : "";
  lines += sentence("GPRMC," + time + ",A," + position + "," + knots + "," + heading + "," + date +
                    ",,,A");
  if (fix.has(kFixQuality) || fix.has(kFixAltitude)) {
    const int quality = fix.has(kFixQuality) && fix.quality > 0 ? fix.quality : 1;
    const std::string altitude = fix.has(kFixAltitude) ? number(fix.altitude, 2) : "";
    lines += sentence("GPGGA," + time + "," + position + "," + std::to_string(quality) + ",,," +
                      altitude + ",M,,M,,");
  }
  return lines;
}

}  // namespace

std::string nmeaLogOf(const std::vector<GpsFix>& fixes) {
  std::string log;
  for (const GpsFix& fix : fixes) {
    if (fix.has(kFixUtc) && fix.has(kFixPosition)) log += sentencesOf(fix);
  }
  return log;
}

}  // namespace vantrel
