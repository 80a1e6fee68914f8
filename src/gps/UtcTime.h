#pragma once
// Calendar arithmetic for fix times: UTC only, no time zones, no leap seconds.
#include <cstdint>
#include <optional>
#include <string_view>

namespace vantrel {

constexpr int64_t kMsPerDay = 86'400'000;

// Milliseconds since 1970-01-01 00:00 UTC of a date and a time of day; nullopt
// for a date that does not exist (month 13, 30 February, ...).
std::optional<int64_t> utcMs(int year, int month, int day, int64_t msOfDay);

// The time of day of utc as hhmmss (12:35:19 -> 123519).
int32_t clockOfUtc(int64_t utc);

// "hhmmss" or "hhmmss.sss" (NMEA): milliseconds into the day; nullopt when
// the text is no such time.
std::optional<int64_t> parseClockMs(std::string_view text);

// An XML Schema dateTime as GPX writes it, "2025-02-21T07:30:05Z" with an
// optional fraction and zone ("+02:00"; none means UTC): milliseconds since
// 1970 UTC; nullopt when the text is no such time.
std::optional<int64_t> parseIsoTimeMs(std::string_view text);

}  // namespace vantrel
