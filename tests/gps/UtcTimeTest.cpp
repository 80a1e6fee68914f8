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

TEST(UtcTime, GpxTimes) {
  const int64_t base = int64_t{1740123005} * 1000;  // 2025-02-21T07:30:05Z
  const std::pair<const char*, std::optional<int64_t>> cases[] = {
      {"2025-02-21T07:30:05Z", base},
      {"2025-02-21T07:30:05", base},  // no zone: UTC
      {" 2025-02-21T07:30:05.25Z\n", base + 250},
      {"2025-02-21T09:30:05+02:00", base},
      {"2025-02-21T02:00:05-05:30", base},
      {"2025-02-21T07:30:05.123456789Z", base + 123},
      {"2025-02-30T07:30:05Z", std::nullopt},
      {"2025-02-21 07:30:05Z", std::nullopt},
      {"2025-02-21T24:00:00Z", std::nullopt},
      {"2025-02-21T07:30:05+2:00", std::nullopt},
      {"2025-02-21T07:30:05Zulu", std::nullopt},
      {"2025-02-21", std::nullopt},
      {"", std::nullopt},
  };
  for (const auto& [text, ms] : cases) EXPECT_EQ(parseIsoTimeMs(text), ms) << text;
}
