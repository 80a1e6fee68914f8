#include <gtest/gtest.h>

#include <cmath>

#include "gps/Coordinates.h"

using namespace vantrel;

TEST(NmeaToDegrees, AddsMinutesOverSixty) {
  const std::pair<double, double> cases[] = {
      {0.0, 0.0},
      {9000.0, 90.0},
      {12000.0, 120.0},
      {3959.9999, 39.0 + 59.9999 / 60},
      {4807.0380, 48.0 + 7.038 / 60},
      {1131.0, 11.0 + 31.0 / 60},
      {-4807.0380, -(48.0 + 7.038 / 60)},
  };
  for (const auto& [value, degrees] : cases)
    EXPECT_NEAR(nmeaToDegrees(value), degrees, 1e-9) << value;
  EXPECT_NEAR(nmeaToDegrees(3959.9999), 39.99999833, 1e-8);
}

TEST(NmeaToDegrees, HugeAndNonFiniteValuesStayDefined) {
  EXPECT_NEAR(nmeaToDegrees(1e20) / 1e18, 1.0, 1e-9);
  EXPECT_TRUE(std::isinf(nmeaToDegrees(INFINITY)) || std::isnan(nmeaToDegrees(INFINITY)));
  EXPECT_TRUE(std::isnan(nmeaToDegrees(NAN)));
}

TEST(FormatCoordinate, NorthAndEastPositiveEverythingElseNegative) {
  double lat = nmeaToDegrees(4807.0380);
  const std::pair<char, const char*> cases[] = {
      {'N', "48.117300"},  {'E', "48.117300"},  {'S', "-48.117300"},
      {'W', "-48.117300"}, {'n', "-48.117300"}, {'\0', "-48.117300"},
  };
  for (const auto& [hemisphere, text] : cases) EXPECT_EQ(formatCoordinate(lat, hemisphere), text);
  EXPECT_EQ(formatCoordinate(0.0, 'S'), "-0.000000");
  EXPECT_EQ(formatCoordinate(nmeaToDegrees(-4807.0380), 'S'), "48.117300");
}

TEST(FormatCoordinate, PrintsEveryDigitOfHugeValues) {
  std::string text = formatCoordinate(1e300, 'N');
  EXPECT_EQ(text.size(), 301u + 7u);
  EXPECT_EQ(text.substr(text.size() - 7), ".000000");
}
