#include <gtest/gtest.h>

#include "gps/UtcTime.h"

using namespace vantrel;

TEST(UtcTime, DatesToMillisecondsSinceTheEpoch) {
  struct Case {
    int year, month, day;
    int64_t msOfDay;
    std::optional<int64_t> utc;
  };
  const Case cases[] = {
      {1970, 1, 1, 0, 0},
      {1970, 1, 2, 5, kMsPerDay + 5},
      {2025, 2, 21, 0, int64_t{1740096000} * 1000},
      {2000, 2, 29, 0, int64_t{951782400} * 1000},  // a leap day of a century
      {1969, 12, 31, 0, -kMsPerDay},
      {2100, 2, 29, 0, std::nullopt},  // no leap day
      {2025, 13, 1, 0, std::nullopt},
      {2025, 4, 31, 0, std::nullopt},
      {2025, 1, 0, 0, std::nullopt},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(utcMs(c.year, c.month, c.day, c.msOfDay), c.utc)
        << c.year << "-" << c.month << "-" << c.day;
  }
}

TEST(UtcTime, ClockOfTheDay) {
  EXPECT_EQ(clockOfUtc(0), 0);
  EXPECT_EQ(clockOfUtc(int64_t{1740170756} * 1000 + 999), 204556);
  EXPECT_EQ(clockOfUtc(-1000), 235959);  // the second before 1970
}

TEST(UtcTime, NmeaTimesOfDay) {
  const std::pair<const char*, std::optional<int64_t>> cases[] = {
      {"000000", 0},
      {"141917.00", (14 * 3600 + 19 * 60 + 17) * 1000},
      {"235960", (23 * 3600 + 59 * 60 + 60) * 1000},  // a leap second
      {"123519.5", (12 * 3600 + 35 * 60 + 19) * 1000 + 500},
      {"123519.12345", (12 * 3600 + 35 * 60 + 19) * 1000 + 123},
      {"12351", std::nullopt},
      {"240000", std::nullopt},
      {"126000", std::nullopt},
      {"1235x9", std::nullopt},
      {"123519,", std::nullopt},
      {"123519.1a", std::nullopt},
      {"", std::nullopt},
  };
  for (const auto& [text, ms] : cases) EXPECT_EQ(parseClockMs(text), ms) << text;
}
