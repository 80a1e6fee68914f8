#include <gtest/gtest.h>

#include "WxPrinters.h"
#include "widgets/LEDGeometry.h"

using namespace vantrel;

namespace {
std::vector<int> cellXs(const wxString& text, int height) {
  std::vector<int> xs;
  for (const LedCell& cell : ledCells(text, ledMetrics(height), 18, true)) xs.push_back(cell.x);
  return xs;
}
}  // namespace

TEST(LedMetrics, ThicknessAndLengthFromTheDigitHeight) {
  struct Case {
    int height, thickness, length;
  } cases[] = {
      {0, 1, 1},   {5, 1, 1},   {6, 1, 2},   {16, 1, 5},    {17, 1, 5},
      {33, 1, 11}, {34, 2, 11}, {41, 2, 14}, {180, 10, 62},  // 180 x 0.35 is just below 63
  };
  for (const Case& c : cases) {
    const LedMetrics m = ledMetrics(c.height);
    EXPECT_EQ(m.thickness, c.thickness) << c.height;
    EXPECT_EQ(m.length, c.length) << c.height;
    EXPECT_EQ(m.penWidth, c.thickness) << c.height;
  }
}

TEST(LedCells, ClockTextAtHeight41) {
  EXPECT_EQ(cellXs("00:00:00", 41), (std::vector<int>{18, 40, 56, 72, 94, 110, 126, 148}));
  const std::vector<LedCell> cells = ledCells("00:00:00", ledMetrics(41), 18, true);
  for (size_t i = 0; i < cells.size(); ++i) {
    const bool colon = i == 2 || i == 5;
    EXPECT_EQ(cells[i].unlitEight, !colon) << i;
    EXPECT_EQ(cells[i].code, colon ? kLedColon : 0xFC) << i;
  }
  // The colon's dots run from x 64 to 66.
  const std::vector<wxRect> dots = ledDots(kLedColon, 56, 2, ledMetrics(41));
  ASSERT_EQ(dots.size(), 2u);
  for (const wxRect& dot : dots) {
    EXPECT_EQ(dot.GetLeft(), 64);
    EXPECT_EQ(dot.width, 2);
  }
  EXPECT_EQ(dots[0].GetTop(), 2 + 14 - 2 - 1);  // centred at Y0 + L - T
  EXPECT_EQ(dots[1].GetTop(), 2 + 28 - 1);      // centred at Y0 + 2L
}

TEST(LedCells, PointTakesNoWidthAndColonDoublesTheGap) {
  // T = 2, L = 14: a digit step is L + 4T = 22.
  EXPECT_EQ(cellXs("1.5", 41), (std::vector<int>{18, 34, 40}));  // 16 + 6 = 22
  EXPECT_EQ(cellXs("1:5", 41), (std::vector<int>{18, 34, 50}));  // 2L + 2T = 32
  EXPECT_EQ(cellXs(":1", 41), (std::vector<int>{18, 34}));       // a leading colon sits at X0
  EXPECT_EQ(cellXs("a b", 41), (std::vector<int>{18, 40, 62}));  // others take a full step
  EXPECT_TRUE(cellXs("", 41).empty());
}

TEST(LedCells, UnlitEightsOnlyUnderDigitCellsAndOnlyWhenShown) {
  const LedMetrics m = ledMetrics(41);
  const std::vector<LedCell> shown = ledCells("  5.-x:", m, 18, true);
  const bool expected[] = {true, true, true, false, true, true, false};
  for (size_t i = 0; i < shown.size(); ++i) EXPECT_EQ(shown[i].unlitEight, expected[i]) << i;
  for (const LedCell& cell : ledCells("  5.-x:", m, 18, false)) EXPECT_FALSE(cell.unlitEight);
}

TEST(LedCodes, CharacterTable) {
  const std::pair<wxUniChar, int> table[] = {
      {'0', 252}, {'1', 96},  {'2', 218}, {'3', 242},
      {'4', 102}, {'5', 182}, {'6', 190}, {'7', 224},
      {'8', 254}, {'9', 246}, {'-', 2},   {'.', 256},
      {':', 257}, {' ', 0},   {'A', 0},   {wxUniChar(0x4E2D), 0},
  };
  for (const auto& [c, code] : table) EXPECT_EQ(ledCode(c), code) << static_cast<int>(c.GetValue());
}

TEST(LedStrokes, StrokeTableAtCellOrigin) {
  const LedMetrics m = ledMetrics(41);  // T = 2, L = 14
  const std::vector<LedStroke> eight = ledStrokes(kLedUnlitEight, 18, 2, m);
  ASSERT_EQ(eight.size(), 7u);
  const LedStroke expected[] = {
      {{22, 4}, {32, 4}},    // a
      {{34, 6}, {34, 20}},   // b
      {{34, 24}, {34, 36}},  // c
      {{22, 38}, {32, 38}},  // d
      {{20, 24}, {20, 36}},  // e
      {{20, 6}, {20, 20}},   // f
      {{22, 22}, {32, 22}},  // g
  };
  for (int i = 0; i < 7; ++i) {
    EXPECT_EQ(eight[i].from, expected[i].from) << i;
    EXPECT_EQ(eight[i].to, expected[i].to) << i;
  }
  const std::vector<LedStroke> one = ledStrokes(ledCode('1'), 18, 2, m);
  ASSERT_EQ(one.size(), 2u);
  EXPECT_EQ(one[0].from, expected[1].from);
  EXPECT_EQ(one[1].from, expected[2].from);
  EXPECT_TRUE(ledStrokes(kLedPoint, 18, 2, m).empty());
  EXPECT_TRUE(ledStrokes(kLedColon, 18, 2, m).empty());
  EXPECT_TRUE(ledDots(ledCode('8'), 18, 2, m).empty());
  const std::vector<wxRect> point = ledDots(kLedPoint, 18, 2, m);
  ASSERT_EQ(point.size(), 1u);
  EXPECT_EQ(point[0], wxRect(22, 37, 2, 2));  // centred on the bottom stroke at x + 2T
}

TEST(LedColours, UnlitStrokesAreAQuarterOfTheLitColour) {
  EXPECT_EQ(ledDimmed(wxColour(0, 255, 0)), wxColour(0, 63, 0));
  EXPECT_EQ(ledDimmed(wxColour(201, 7, 130)), wxColour(50, 1, 32));
}
