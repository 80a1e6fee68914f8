#include <gtest/gtest.h>

#include <cmath>

#include "WxPrinters.h"
#include "widgets/MeterGeometry.h"

using namespace vantrel;

namespace {
// The main window's settings: 0 .. 240 in 12 x 10 divisions from 225 to -45 degrees.
MeterScale mainWindowScale() {
  MeterScale scale;
  scale.minValue = 0.0;
  scale.maxValue = 240.0;
  scale.majorTicks = 12;
  scale.minorTicks = 10;
  return scale;
}

double distance(const wxPoint& a, const wxPoint& b) {
  return std::hypot(a.x - b.x, a.y - b.y);
}
}  // namespace

TEST(MeterLayout, WorkedExampleFor249By234) {
  const MeterLayout l = meterLayout(wxRect(0, 0, 249, 234), mainWindowScale());
  EXPECT_EQ(l.radius, 106);
  EXPECT_EQ(l.center, wxPoint(124, 127));
  EXPECT_EQ(l.band, 5);
  EXPECT_EQ(l.unit, 5);
  EXPECT_EQ(l.innerRadius, 84);
  EXPECT_EQ(l.midRadius, 90);
  EXPECT_EQ(l.labelHeight, 17);
  EXPECT_EQ(l.valueHeight, 21);
  EXPECT_EQ(l.valueRect, wxRect(71, 148, 106, 32));
  EXPECT_EQ(l.valueRect.GetLeft() + l.valueRect.width / 2, 124);
  EXPECT_EQ(l.valueRect.GetTop() + l.valueRect.height / 2, 164);
  ASSERT_EQ(l.tickOuter.size(), 121u);
  for (size_t i = 0; i < l.tickOuter.size(); ++i) {
    EXPECT_NEAR(distance(l.tickOuter[i], l.center), 96, 0.75) << i;
    const double inner = (i % 10 == 0) ? 84 : 90;
    EXPECT_NEAR(distance(l.tickInner[i], l.center), inner, 0.75) << i;
  }
  // First tick lower left at 225 degrees, the 61st straight up, the last lower right.
  EXPECT_EQ(l.tickOuter[0], wxPoint(56, 195));
  EXPECT_EQ(l.tickOuter[60], wxPoint(124, 31));
  EXPECT_EQ(l.tickOuter[120], wxPoint(192, 195));
  EXPECT_EQ(l.arcStart, wxPoint(124 - 74, 127 + 74));  // 106 cos 45 = 74.95, truncated
  EXPECT_EQ(l.arcEnd, wxPoint(124 + 74, 127 + 74));
}

TEST(MeterLayout, NeedleAt120Of240PointsStraightUp) {
  const MeterScale scale = mainWindowScale();
  EXPECT_DOUBLE_EQ(needleAngle(120.0, scale), 90.0);
  const auto p = needlePoints(wxPoint(124, 127), 106, 5, needleAngle(120.0, scale));
  EXPECT_EQ(p[0], wxPoint(118, 127));
  EXPECT_EQ(p[1], wxPoint(124, 26));
  EXPECT_EQ(p[2], wxPoint(130, 127));
  EXPECT_EQ(p[3], wxPoint(124, 145));
}

TEST(MeterLayout, NeedleStaysWithinTheScale) {
  const MeterScale scale = mainWindowScale();
  struct Case {
    double value, angle;
  } cases[] = {{0, 225}, {-30, 225}, {240, -45}, {500, -45}, {60, 157.5}, {180, 22.5}};
  for (const Case& c : cases) EXPECT_DOUBLE_EQ(needleAngle(c.value, scale), c.angle) << c.value;
  MeterScale empty = scale;
  empty.maxValue = empty.minValue;
  EXPECT_DOUBLE_EQ(needleAngle(10.0, empty), 225.0);
}

TEST(MeterLayout, TickCountFollowsTheDivisions) {
  struct Case {
    int major, minor;
    size_t ticks;
  } cases[] = {
      {10, 5, 51},    // the default scale: 540 hundredths a step
      {12, 10, 121},  // the main window's: 225 hundredths
      {50, 10, 200},  // more than fit: held at 200
      {0, 0, 2},      // no divisions count as one: the two ends
  };
  for (const Case& c : cases) {
    MeterScale scale;
    scale.majorTicks = c.major;
    scale.minorTicks = c.minor;
    EXPECT_EQ(meterLayout(wxRect(0, 0, 249, 234), scale).tickOuter.size(), c.ticks)
        << c.major << " x " << c.minor;
  }
  MeterScale noSweep;
  noSweep.endAngle = noSweep.startAngle + 360;  // a step of 0 would never end
  EXPECT_EQ(meterLayout(wxRect(0, 0, 249, 234), noSweep).tickOuter.size(), 1u);
}

TEST(MeterLayout, EachOfTheThirteenLabelsTakesItsRow) {
  const MeterScale scale = mainWindowScale();
  const double angles[] = {225, 202.5, 180, 157.5, 135, 112.5, 90, 67.5, 45, 22.5, 0, -22.5, -45};
  const int rows[] = {0, 0, 1, 2, 3, 3, 4, 5, 6, 6, 7, 8, 8};
  for (int n = 0; n <= 12; ++n) {
    EXPECT_DOUBLE_EQ(labelAngle(scale, n), angles[n]) << n;
    EXPECT_EQ(labelPlacement(angles[n], wxPoint(0, 0), 17).row, rows[n]) << angles[n];
  }
}

TEST(MeterLayout, LabelRowBoundsAreStrict) {
  struct Case {
    double angle;
    int row, align;
    wxPoint position;  // for the anchor (100, 100) and h = 17
  } cases[] = {
      {190.5, 0, kAlignLeft | kAlignBottom, {100, 108}},
      {190, 1, kAlignLeft | kAlignBaseline, {100, 105}},
      {170, 2, kAlignLeft | kAlignBaseline, {100, 108}},
      {135, 3, kAlignLeft | kAlignTop, {96, 98}},
      {100, 4, kAlignCenter | kAlignTop, {100, 100}},
      {80, 5, kAlignRight | kAlignBottom, {105, 117}},
      {45, 6, kAlignRight | kAlignBaseline, {100, 108}},
      {10, 7, kAlignRight | kAlignBaseline, {100, 105}},
      {-10, 8, kAlignRight | kAlignBottom, {100, 108}},
  };
  for (const Case& c : cases) {
    const LabelPlacement place = labelPlacement(c.angle, wxPoint(100, 100), 17);
    EXPECT_EQ(place.row, c.row) << c.angle;
    EXPECT_EQ(place.align, c.align) << c.angle;
    EXPECT_EQ(place.position, c.position) << c.angle;
  }
}

TEST(MeterLayout, TextAlignmentMovesTheOrigin) {
  const wxSize extent(30, 20);  // descent 4: the baseline is 16 below the top
  struct Case {
    int align;
    wxPoint origin;
  } cases[] = {
      {kAlignLeft | kAlignTop, {100, 50}},    {kAlignCenter | kAlignTop, {85, 50}},
      {kAlignRight | kAlignTop, {70, 50}},    {kAlignLeft | kAlignBaseline, {100, 34}},
      {kAlignRight | kAlignBottom, {70, 30}}, {kAlignCenter | kAlignBottom, {85, 30}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(alignedTextOrigin(wxPoint(100, 50), c.align, extent, 4), c.origin) << c.align;
  }
}

TEST(MeterLayout, BandsSplitTheScaleIntoFifths) {
  const MeterLayout l = meterLayout(wxRect(0, 0, 249, 234), mainWindowScale());
  for (int b = 0; b < kBandCount; ++b) {
    const std::vector<wxPoint> polygon = bandPolygon(l, b);
    ASSERT_EQ(polygon.size(), 102u);
    EXPECT_EQ(polygon.front(), l.bandOuter[50 * b]);
    EXPECT_EQ(polygon[50], l.bandOuter[50 * b + 50]);
    EXPECT_EQ(polygon[51], l.bandInner[50 * b + 50]);
    EXPECT_EQ(polygon.back(), l.bandInner[50 * b]);
  }
  EXPECT_NEAR(distance(l.bandOuter[0], l.center), 101, 1.0);
  EXPECT_NEAR(distance(l.bandInner[125], l.center), 84.8, 1.0);
}

TEST(MeterLayout, ShadingBlendsPerChannelAndTruncates) {
  const wxColour white(255, 255, 255), orange(250, 120, 20);
  EXPECT_EQ(blendColour(white, orange, 5, 5), orange);  // the rim's widest pen
  EXPECT_EQ(blendColour(white, orange, 1, 5), wxColour(254, 228, 208));
  EXPECT_EQ(blendColour(white, *wxBLACK, 3 * 4, 5 * 3), wxColour(51, 51, 51));  // hub edge
  EXPECT_EQ(blendColour(white, *wxBLACK, 0, 15), white);                        // hub centre
  EXPECT_EQ(blendColour(white, *wxBLACK, 0, 0), white);  // a hub too small to shade
}
