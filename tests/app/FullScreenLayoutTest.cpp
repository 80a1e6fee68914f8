#include <gtest/gtest.h>

#include <map>

#include "app/FullScreenLayout.h"

using namespace vantrel;

namespace {

ControlLayout workedExampleLayout() {
  ControlLayout layout{};
  auto set = [&](int id, int w, int h) {
    for (size_t i = 0; i < kLayoutIds.size(); ++i)
      if (kLayoutIds[i] == id) layout.controls[i] = wxRect(0, 0, w, h);
  };
  set(1001, 100, 34);  // B = 34
  set(1014, 540, 13);  // PW x PH
  set(1015, 50, 14);
  set(1011, 89, 14);
  set(1013, 110, 40);
  return layout;
}

TEST(FullScreenLayout, StripMatchesTheWorkedExampleOnA1920x1080Screen) {
  std::map<int, wxPoint> at;
  for (const StripPlacement& p : stripPlacements(workedExampleLayout(), {1920, 1080}))
    at[p.id] = p.position;
  EXPECT_EQ(at[1015], wxPoint(640, 1006));
  EXPECT_EQ(at[1014], wxPoint(690, 1003));
  EXPECT_EQ(at[1016], wxPoint(1230, 1006));
  const int buttonX[] = {230, 470, 710, 950, 1190, 1430};
  const int buttons[] = {1001, 1004, 1005, 1006, 1007, 1};
  for (int i = 0; i < 6; ++i) EXPECT_EQ(at[buttons[i]], wxPoint(buttonX[i], 1036)) << buttons[i];
  EXPECT_EQ(at[1011].x, 1670);
  EXPECT_EQ(at[1011].y, 1080 - 14 - 10);
  EXPECT_EQ(at[1013], wxPoint(1736, 1080 - 40 - 10));
  EXPECT_EQ(at.size(), 11u);
}

TEST(FullScreenLayout, VideoAreaKeepsTheFrameOffScreen) {
  // A frame 3 px wide with a 26 px caption around a client area at (103, 226).
  const wxRect client(103, 226, 1000, 700);
  const wxRect window(100, 200, 1006, 729);
  EXPECT_EQ(fullScreenVideoRect(window, client, {1920, 1080}),
            wxRect(wxPoint(-3, -26), wxPoint(1922, 962)));  // (-3,-26)-(1923,963) exclusive
  // Without a frame the picture fills the screen above the strip.
  EXPECT_EQ(fullScreenVideoRect(client, client, {1920, 1080}), wxRect(0, 0, 1920, 960));
}

TEST(FullScreenLayout, HiddenSetsAndRestoreOrderCoverTheSameControls) {
  auto sorted = [](auto ids) {
    std::sort(ids.begin(), ids.end());
    return ids;
  };
  EXPECT_EQ(sorted(kHiddenInFullScreen), sorted(kShownOnLeaving));
  EXPECT_EQ(sorted(kLayoutIds), sorted(kRestoreOrder));
  EXPECT_EQ(ControlLayout{}.rectOf(1034), wxRect());
}

}  // namespace
