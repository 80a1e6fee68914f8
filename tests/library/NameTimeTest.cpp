#include <gtest/gtest.h>

#include "library/NameTime.h"

using namespace vantrel;

namespace {

struct NameCase {
  const char* name;
  bool found;
  CivilTime time;
};

}  // namespace

TEST(NameTime, DashcamNamingSchemes) {
  const NameCase cases[] = {
      {"20240501_073005.MP4", true, {2024, 5, 1, 7, 30, 5}},
      {"/card/DCIM/2024_0501_073005_001F.MP4", true, {2024, 5, 1, 7, 30, 5}},
      {"20240501-073005F.MOV", true, {2024, 5, 1, 7, 30, 5}},
      {"NO20240501-073005-000123F.MP4", true, {2024, 5, 1, 7, 30, 5}},
      {"REC_2024_05_01_07_30_05_F.MP4", true, {2024, 5, 1, 7, 30, 5}},
      {"2024-05-01 07.30.05.mp4", true, {2024, 5, 1, 7, 30, 5}},
      {"20240501073005_NF.mp4", true, {2024, 5, 1, 7, 30, 5}},
      {"20240501073005123.mp4", true, {2024, 5, 1, 7, 30, 5}},   // milliseconds after
      {"FILE240501-073005F.MOV", true, {2024, 5, 1, 7, 30, 5}},  // two-digit year
      {"240229_235959.avi", true, {2024, 2, 29, 23, 59, 59}},
      // Not a date and time: no digits, too few, impossible values, a number
      // that runs past the 14 digits inside a group, or groups glued by two
      // separators.
      {"GRMN0001.MP4", false, {}},
      {"clip.mp4", false, {}},
      {"20240501.mp4", false, {}},
      {"20241301_073005.mp4", false, {}},
      {"20230229_073005.mp4", false, {}},
      {"20240501_250000.mp4", false, {}},
      {"000001_000002.mp4", false, {}},
      {"2024050107300.mp4", false, {}},
      {"20240501__073005.mp4", false, {}},
      // The extension is no part of the name's digits.
      {"20240501_0730.050000", false, {}},
  };
  for (const NameCase& c : cases) {
    const std::optional<CivilTime> t = nameDateTime(c.name);
    ASSERT_EQ(t.has_value(), c.found) << c.name;
    if (!c.found) continue;
    EXPECT_EQ(t->year, c.time.year) << c.name;
    EXPECT_EQ(t->month, c.time.month) << c.name;
    EXPECT_EQ(t->day, c.time.day) << c.name;
    EXPECT_EQ(t->hour, c.time.hour) << c.name;
    EXPECT_EQ(t->minute, c.time.minute) << c.name;
    EXPECT_EQ(t->second, c.time.second) << c.name;
  }
}
