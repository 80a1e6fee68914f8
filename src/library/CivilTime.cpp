#include "library/CivilTime.h"

#include <cstdio>
#include <ctime>

#include "gps/UtcTime.h"

namespace vantrel {

namespace {

int64_t floorDiv(int64_t a, int64_t b) {
  return a / b - ((a % b != 0) && ((a < 0) != (b < 0)));
}

bool validClock(const CivilTime& t) {
  return t.hour >= 0 && t.hour < 24 && t.minute >= 0 && t.minute < 60 && t.second >= 0 &&
         t.second < 60;
}

}  // namespace

std::optional<int64_t> utcMsOf(const CivilTime& t) {
  if (!validClock(t)) return std::nullopt;
  return utcMs(t.year, t.month, t.day, ((t.hour * 60 + t.minute) * 60 + t.second) * int64_t{1000});
}

std::optional<int64_t> localMsOf(const CivilTime& t) {
  if (!validClock(t) || !utcMsOf(t)) return std::nullopt;
  std::tm parts{};
  parts.tm_year = t.year - 1900;
  parts.tm_mon = t.month - 1;
  parts.tm_mday = t.day;
  parts.tm_hour = t.hour;
  parts.tm_min = t.minute;
  parts.tm_sec = t.second;
  parts.tm_isdst = -1;  // the zone's rules decide
  const std::time_t seconds = std::mktime(&parts);
  if (seconds == static_cast<std::time_t>(-1)) return std::nullopt;
  return static_cast<int64_t>(seconds) * 1000;
}

CivilTime civilOfUtc(int64_t ms) {
  // Days to a civil date, in 400-year eras starting in March.
  const int64_t seconds = floorDiv(ms, 1000);
  const int64_t days = floorDiv(seconds, 86400);
  const int64_t secondOfDay = seconds - days * 86400;
  const int64_t z = days + 719468;
  const int64_t era = floorDiv(z, 146097);
  const int64_t dayOfEra = z - era * 146097;
  const int64_t yearOfEra =
      (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
  const int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
  const int64_t shiftedMonth = (5 * dayOfYear + 2) / 153;
  CivilTime t;
  t.day = static_cast<int>(dayOfYear - (153 * shiftedMonth + 2) / 5 + 1);
  t.month = static_cast<int>(shiftedMonth < 10 ? shiftedMonth + 3 : shiftedMonth - 9);
  t.year = static_cast<int>(yearOfEra + era * 400 + (t.month <= 2 ? 1 : 0));
  t.hour = static_cast<int>(secondOfDay / 3600);
  t.minute = static_cast<int>(secondOfDay / 60 % 60);
  t.second = static_cast<int>(secondOfDay % 60);
  return t;
}

CivilTime civilOfLocal(int64_t ms) {
  const std::time_t seconds = static_cast<std::time_t>(floorDiv(ms, 1000));
  std::tm parts{};
  if (!localtime_r(&seconds, &parts)) return civilOfUtc(ms);
  return {parts.tm_year + 1900, parts.tm_mon + 1, parts.tm_mday,
          parts.tm_hour,        parts.tm_min,     parts.tm_sec};
}

std::string formatIsoUtc(int64_t ms) {
  const CivilTime t = civilOfUtc(ms);
  char text[40];
  std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02dZ", t.year, t.month, t.day, t.hour,
                t.minute, t.second);
  return text;
}

std::string formatIsoUtcMs(int64_t ms) {
  const CivilTime t = civilOfUtc(ms);
  char text[48];
  std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d.%03dZ", t.year, t.month, t.day,
                t.hour, t.minute, t.second, static_cast<int>(ms - floorDiv(ms, 1000) * 1000));
  return text;
}

}  // namespace vantrel
