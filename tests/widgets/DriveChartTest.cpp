#include <gtest/gtest.h>
#include <wx/frame.h>
#include <wx/settings.h>

#include <cmath>

#include "WidgetShot.h"
#include "support/WxTestSupport.h"
#include "widgets/DriveChart.h"

using namespace vantrel;

namespace {

// Speed rising for a minute, a gap between two clips, and altitude.
std::vector<ChartLane> sampleLanes() {
  ChartLane speed{"Speed", "km/h", wxColour(21, 101, 192), true, {}, {}};
  ChartLane altitude{"Altitude", "m", wxColour(46, 125, 50), false, {}, {}};
  for (int t = 0; t <= 120; ++t) {
    const bool gap = t == 60;
    speed.times.push_back(t);
    speed.values.push_back(gap ? NAN : t);
    altitude.times.push_back(t);
    altitude.values.push_back(gap ? NAN : 500 + t / 10.0);
  }
  return {speed, altitude};
}

}  // namespace

TEST(DriveChart, ClicksGiveTheTimeUnderThemAndTheCursorIsDrawn) {
  auto* frame = new wxFrame(nullptr, wxID_ANY, "chart", wxDefaultPosition, wxSize(700, 260));
  auto* chart = new CDriveChart(frame, wxID_ANY);
  chart->SetSize(frame->GetClientSize());
  frame->Show();
  std::vector<double> clicked;
  chart->SetClickHandler([&](double seconds) { clicked.push_back(seconds); });

  // Nothing to chart: no time anywhere.
  EXPECT_FALSE(chart->TimeAt(chart->GetClientSize().x / 2));
  chart->SetLanes(sampleLanes(), 120);
  const int left = chart->XOf(0), right = chart->XOf(120);
  ASSERT_LT(left, right);
  EXPECT_NEAR(*chart->TimeAt(chart->XOf(30)), 30, 120.0 / (right - left));
  EXPECT_FALSE(chart->TimeAt(left - 5));
  EXPECT_FALSE(chart->TimeAt(right + 5));

  for (int x : {left - 5, chart->XOf(90)}) {
    wxMouseEvent down(wxEVT_LEFT_DOWN);
    down.m_x = x;
    down.m_y = chart->GetClientSize().y / 2;
    chart->GetEventHandler()->ProcessEvent(down);
  }
  ASSERT_EQ(clicked.size(), 1u);  // the click left of the plot asks for nothing
  EXPECT_NEAR(clicked[0], 90, 1);

  chart->SetCursorTime(45.0);
  const wxImage shot = widgettest::grabClientArea(chart, "drive-chart");
  ASSERT_TRUE(shot.IsOk());
  // The cursor is a red line from the top lane to the bottom one.
  const int x = chart->XOf(45.0);
  for (int y : {20, shot.GetHeight() / 2, shot.GetHeight() - 30}) {
    const wxColour pixel = widgettest::pixelAt(shot, x, y);
    EXPECT_GT(pixel.Red(), 180) << y;
    EXPECT_LT(pixel.Green(), 100) << y;
  }
  // Value labels stay in their lane: nothing is drawn beside the plot above
  // the top lane or in the gap between the lanes.
  const std::vector<wxRect> lanes = chart->LaneRects();
  ASSERT_EQ(lanes.size(), 2u);
  const wxColour background = wxSystemSettings::GetColour(wxSYS_COLOUR_WINDOW);
  std::vector<int> outside;
  for (int y = 0; y < lanes[0].GetTop(); ++y) outside.push_back(y);
  for (int y = lanes[0].GetBottom() + 1; y < lanes[1].GetTop(); ++y) outside.push_back(y);
  ASSERT_GE(outside.size(), 6u);
  for (int y : outside) {
    for (int x = 0; x < lanes[0].GetLeft(); ++x) {
      const wxColour pixel = widgettest::pixelAt(shot, x, y);
      ASSERT_TRUE(std::abs(pixel.Red() - background.Red()) < 40 &&
                  std::abs(pixel.Green() - background.Green()) < 40 &&
                  std::abs(pixel.Blue() - background.Blue()) < 40)
          << "a label at " << x << "," << y;
    }
  }
  frame->Destroy();
}
