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

TEST(ChartGeometry, ValueLabelsStayInsideTheirLaneAndApart) {
  struct Case {
    double low, high;
    int top, bottom, labelHeight;
    std::vector<double> lines, labelled;
  };
  const Case cases[] = {
      // The top label would stick out above the chart, the bottom one into
      // the lane below.
      {0, 150, 4, 79, 17, {0, 50, 100, 150}, {0, 50, 100, 150}},
      {500, 515, 86, 161, 17, {500, 505, 510, 515}, {500, 505, 510, 515}},
      {0, 40, 10, 60, 17, {0, 20, 40}, {0, 20, 40}},
      {0, 1, 0, 20, 17, {0, 1}, {0}},  // room for one label only
      {-2,
       2,
       0,
       300,
       13,
       {-2, -1.5, -1, -0.5, 0, 0.5, 1, 1.5, 2},
       {-2, -1.5, -1, -0.5, 0, 0.5, 1, 1.5, 2}},
  };
  for (const Case& c : cases) {
    const std::vector<LaneTick> ticks = laneTicks(c.low, c.high, c.top, c.bottom, c.labelHeight);
    std::vector<double> lines, labelled;
    for (const LaneTick& tick : ticks) {
      lines.push_back(tick.value);
      const double y = c.bottom - (tick.value - c.low) / (c.high - c.low) * (c.bottom - c.top);
      EXPECT_NEAR(tick.lineY, y, 0.5) << tick.value;
      if (!tick.labelled) continue;
      labelled.push_back(tick.value);
      EXPECT_GE(tick.labelTop, c.top) << tick.value;
      EXPECT_LE(tick.labelTop + c.labelHeight, c.bottom + 1) << tick.value;
      // Beside its line: moved no more than half its height.
      EXPECT_LE(std::abs(tick.labelTop + c.labelHeight / 2.0 - tick.lineY), c.labelHeight / 2.0)
          << tick.value;
      for (const LaneTick& other : ticks) {
        if (&other == &tick || !other.labelled) continue;
        EXPECT_TRUE(other.labelTop >= tick.labelTop + c.labelHeight ||
                    tick.labelTop >= other.labelTop + c.labelHeight)
            << tick.value << " meets " << other.value;
      }
    }
    EXPECT_EQ(lines, c.lines) << c.low << ".." << c.high;
    EXPECT_EQ(labelled, c.labelled) << c.low << ".." << c.high;
  }
}

TEST(ChartGeometry, LabelsCentreOnTheirPlaceUnlessThatLeavesTheRoom) {
  struct Case {
    double centre;
    int extent, from, to, start;
  };
  const Case cases[] = {
      {100, 30, 0, 500, 85}, {5, 30, 0, 500, 0},    {495, 30, 0, 500, 470},
      {50, 80, 10, 60, 10},  {40, 17, 40, 120, 40},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(labelStart(c.centre, c.extent, c.from, c.to), c.start) << c.centre;
  }
}
