#pragma once
// Dates and times of day as people write them (a file name, a report), and
// their conversion to and from milliseconds since 1970 UTC.
#include <cstdint>
#include <optional>
#include <string>

namespace vantrel {

struct CivilTime {
  int year = 1970;
  int month = 1;  // 1..12
  int day = 1;    // 1..31
  int hour = 0;
  int minute = 0;
  int second = 0;
};

// The civil time read as UTC; nullopt for a date or time that does not exist.
std::optional<int64_t> utcMsOf(const CivilTime& time);
// The civil time read in the machine's time zone (TZ), as a camera whose clock
// is set to local time names its files; nullopt when it does not exist.
std::optional<int64_t> localMsOf(const CivilTime& time);
// The UTC civil time of ms (whole seconds, rounded down).
CivilTime civilOfUtc(int64_t ms);
// The local civil time of ms in the machine's time zone.
CivilTime civilOfLocal(int64_t ms);

// "2024-05-01T07:30:05Z".
std::string formatIsoUtc(int64_t ms);
// "2024-05-01T07:30:05.250Z": with milliseconds, for track points.
std::string formatIsoUtcMs(int64_t ms);

}  // namespace vantrel
