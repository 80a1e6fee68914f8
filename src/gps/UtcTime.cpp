#include "gps/UtcTime.h"

#include <cctype>

namespace vantrel {

namespace {

bool leapYear(int64_t year) {
  return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int daysInMonth(int64_t year, int month) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && leapYear(year) ? 29 : kDays[month - 1];
}

// Days from 1970-01-01 to the date, counted in 400-year eras starting in March
// so that the leap day ends each shifted year.
int64_t daysSinceEpoch(int64_t year, int month, int day) {
  const int64_t y = month <= 2 ? year - 1 : year;
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const int64_t yearOfEra = y - era * 400;
  const int64_t shiftedMonth = month > 2 ? month - 3 : month + 9;
  const int64_t dayOfYear = (153 * shiftedMonth + 2) / 5 + day - 1;
  const int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  return era * 146097 + dayOfEra - 719468;
}

// Reads count digits at text[at]; -1 when one is not a digit.
int digitsAt(std::string_view text, size_t at, size_t count) {
  if (at + count > text.size()) return -1;
  int value = 0;
  for (size_t i = at; i < at + count; ++i) {
    if (!std::isdigit(static_cast<unsigned char>(text[i]))) return -1;
    value = value * 10 + (text[i] - '0');
  }
  return value;
}

// ".123" (any number of digits): milliseconds, and where it ends.
int64_t fractionMs(std::string_view text, size_t& at) {
  if (at >= text.size() || text[at] != '.') return 0;
  int64_t ms = 0;
  int64_t scale = 100;
  size_t i = at + 1;
  for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i, scale /= 10) {
    ms += (text[i] - '0') * scale;
  }
  at = i;
  return ms;
}

// "Z", "+hh:mm", "-hh:mm" or nothing: minutes east of UTC; nullopt for
// anything else.
std::optional<int> zoneMinutes(std::string_view zone) {
  if (zone.empty() || zone == "Z") return 0;
  if (zone.size() != 6 || (zone[0] != '+' && zone[0] != '-') || zone[3] != ':') {
    return std::nullopt;
  }
  const int hours = digitsAt(zone, 1, 2), minutes = digitsAt(zone, 4, 2);
  if (hours < 0 || minutes < 0 || hours > 14 || minutes > 59) return std::nullopt;
  return (zone[0] == '-' ? -1 : 1) * (hours * 60 + minutes);
}

}  // namespace

std::optional<int64_t> utcMs(int year, int month, int day, int64_t msOfDay) {
  if (month < 1 || month > 12 || day < 1 || day > daysInMonth(year, month)) return std::nullopt;
  return daysSinceEpoch(year, month, day) * kMsPerDay + msOfDay;
}

int32_t clockOfUtc(int64_t utc) {
  int64_t ms = utc % kMsPerDay;
  if (ms < 0) ms += kMsPerDay;
  const int64_t seconds = ms / 1000;
  return static_cast<int32_t>(seconds / 3600 * 10000 + seconds / 60 % 60 * 100 + seconds % 60);
}

std::optional<int64_t> parseIsoTimeMs(std::string_view text) {
  while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front()))) {
    text.remove_prefix(1);
  }
  while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back()))) {
    text.remove_suffix(1);
  }
  if (text.size() < 19 || text[4] != '-' || text[7] != '-' || text[10] != 'T' || text[13] != ':' ||
      text[16] != ':') {
    return std::nullopt;
  }
  const int year = digitsAt(text, 0, 4), month = digitsAt(text, 5, 2), day = digitsAt(text, 8, 2);
  const int hours = digitsAt(text, 11, 2), minutes = digitsAt(text, 14, 2);
  const int seconds = digitsAt(text, 17, 2);
  if (year < 0 || month < 0 || day < 0 || hours < 0 || minutes < 0 || seconds < 0 || hours > 23 ||
      minutes > 59 || seconds > 60) {
    return std::nullopt;
  }
  size_t at = 19;
  const int64_t ms = fractionMs(text, at);
  const std::optional<int> zone = zoneMinutes(text.substr(at));
  const std::optional<int64_t> local =
      utcMs(year, month, day, ((hours * 60 + minutes) * 60 + seconds) * int64_t{1000} + ms);
  if (!zone || !local) return std::nullopt;
  return *local - int64_t{*zone} * 60'000;
}

std::optional<int64_t> parseClockMs(std::string_view text) {
  if (text.size() > 16) return std::nullopt;
  const int hours = digitsAt(text, 0, 2), minutes = digitsAt(text, 2, 2);
  const int seconds = digitsAt(text, 4, 2);
  if (hours < 0 || minutes < 0 || seconds < 0 || hours > 23 || minutes > 59 || seconds > 60) {
    return std::nullopt;
  }
  size_t at = 6;
  const int64_t fraction = fractionMs(text, at);
  if (at != text.size()) return std::nullopt;
  return ((hours * 60 + minutes) * 60 + seconds) * int64_t{1000} + fraction;
}

}  // namespace vantrel
