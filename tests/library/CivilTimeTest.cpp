#include <gtest/gtest.h>

#include "library/CivilTime.h"
#include "library/LibraryRecords.h"

using namespace vantrel;

TEST(CivilTime, UtcRoundTripsAndFormats) {
  struct Case {
    CivilTime time;
    int64_t ms;
    const char* iso;
  };
  const Case cases[] = {
      {{1970, 1, 1, 0, 0, 0}, 0, "1970-01-01T00:00:00Z"},
      {{2024, 2, 29, 23, 59, 59}, 1709251199000, "2024-02-29T23:59:59Z"},
      {{2000, 3, 1, 12, 0, 0}, 951912000000, "2000-03-01T12:00:00Z"},
      {{1969, 12, 31, 23, 59, 59}, -1000, "1969-12-31T23:59:59Z"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(utcMsOf(c.time), c.ms) << c.iso;
    EXPECT_EQ(formatIsoUtc(c.ms), c.iso);
    const CivilTime back = civilOfUtc(c.ms);
    EXPECT_EQ(utcMsOf(back), c.ms) << c.iso;
  }
  EXPECT_EQ(formatIsoUtcMs(1709251199250), "2024-02-29T23:59:59.250Z");
  EXPECT_EQ(formatIsoUtcMs(-1), "1969-12-31T23:59:59.999Z");
  EXPECT_FALSE(utcMsOf({2023, 2, 29, 0, 0, 0}));
  EXPECT_FALSE(utcMsOf({2023, 1, 1, 24, 0, 0}));
}

// A camera's clock runs on local time: the name's time is read in the
// machine's zone, summer time included.
TEST(CivilTime, LocalTimeFollowsTheZone) {
  testsupport::ScopedTimeZone central("CET-1CEST,M3.5.0,M10.5.0/3");
  EXPECT_EQ(localMsOf({2024, 1, 15, 12, 0, 0}), *utcMsOf({2024, 1, 15, 11, 0, 0}));
  const std::optional<int64_t> summer = localMsOf({2024, 7, 15, 12, 0, 0});
  EXPECT_EQ(summer, *utcMsOf({2024, 7, 15, 10, 0, 0}));
  EXPECT_EQ(civilOfLocal(*summer).hour, 12);
}
