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

std::optional<int64_t> parseClockMs(std::string_view text) {
  if (text.size() < 6 || text.size() > 16) return std::nullopt;
  for (size_t i = 0; i < 6; ++i) {
    if (!std::isdigit(static_cast<unsigned char>(text[i]))) return std::nullopt;
  }
  auto two = [&](size_t at) { return (text[at] - '0') * 10 + (text[at + 1] - '0'); };
  const int hours = two(0), minutes = two(2), seconds = two(4);
  if (hours > 23 || minutes > 59 || seconds > 60) return std::nullopt;
  int64_t fraction = 0;
  if (text.size() > 6) {
    if (text[6] != '.') return std::nullopt;
    int64_t scale = 100;
    for (size_t i = 7; i < text.size(); ++i, scale /= 10) {
      if (!std::isdigit(static_cast<unsigned char>(text[i]))) return std::nullopt;
      fraction += (text[i] - '0') * scale;
    }
  }
  return ((hours * 60 + minutes) * 60 + seconds) * int64_t{1000} + fraction;
}

}  // namespace vantrel
