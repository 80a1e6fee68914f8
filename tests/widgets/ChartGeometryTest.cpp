#include <gtest/gtest.h>

#include <cmath>

#include "widgets/ChartGeometry.h"

using namespace vantrel;

TEST(ChartGeometry, TicksAreRoundAndCoverTheRange) {
  struct Case {
    double low, high;
    int most;
    std::vector<double> ticks;
  };
  const Case cases[] = {
      {0, 100, 6, {0, 20, 40, 60, 80, 100}},
      {0, 118, 5, {0, 50, 100}},
      {-3.2, 7.9, 8, {-2, 0, 2, 4, 6}},
      {-3.2, 7.9, 6, {0, 5}},  // step 2 might give seven
      {512.5, 514.5, 5, {512.5, 513, 513.5, 514, 514.5}},
      {0.9, 1.1, 3, {1}},
      {5, 5, 4, {5}},  // nothing to span
  };
  for (const Case& c : cases) {
    const std::vector<double> ticks = niceTicks(c.low, c.high, c.most);
    ASSERT_EQ(ticks.size(), c.ticks.size()) << c.low << ".." << c.high;
    for (size_t i = 0; i < ticks.size(); ++i) EXPECT_NEAR(ticks[i], c.ticks[i], 1e-9) << c.low;
  }
}

TEST(ChartGeometry, TimeTicksFallOnClockSteps) {
  struct Case {
    double span;
    int most;
    double step;
    const char* last;
  };
  const Case cases[] = {
      {90, 10, 10, "1:30"},    // a minute and a half: every 10 s
      {600, 8, 120, "10:00"},  // ten minutes: every 2 min
      {5400, 8, 900, "1:30"},  // an hour and a half: every 15 min, shown as h:mm
      {3, 10, 1, "0:03"},
  };
  for (const Case& c : cases) {
    const std::vector<double> ticks = timeTicks(c.span, c.most);
    ASSERT_GE(ticks.size(), 2u) << c.span;
    EXPECT_LE(static_cast<int>(ticks.size()), c.most) << c.span;
    EXPECT_EQ(ticks[1] - ticks[0], c.step) << c.span;
    EXPECT_EQ(chartTimeText(ticks.back(), c.span), c.last) << c.span;
  }
}

TEST(ChartGeometry, AxesHoldTheValuesThatAreNumbers) {
  struct Case {
    std::vector<double> values;
    bool fromZero;
    double low, high;
  };
  const Case cases[] = {
      {{12, 97.5, NAN, 40}, true, 0, 100},
      {{512.4, 530.1}, false, 510, 535},
      {{7, 7, 7}, false, 6.5, 7.5},  // a flat line sits inside its axis
      {{0, 0}, true, 0, 1},
      {{NAN}, true, 0, 1},
      {{}, false, 0, 1},
  };
  for (const Case& c : cases) {
    const auto [low, high] = axisRange(c.values, c.fromZero);
    EXPECT_DOUBLE_EQ(low, c.low) << c.values.size();
    EXPECT_DOUBLE_EQ(high, c.high) << c.values.size();
  }
  const ChartScale scale{0, 200, 300, 100};  // values up, pixels down
  EXPECT_DOUBLE_EQ(scale.toPixel(50), 250);
  EXPECT_DOUBLE_EQ(scale.toValue(150), 150);
}
