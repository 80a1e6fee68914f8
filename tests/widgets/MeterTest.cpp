#include <gtest/gtest.h>
#include <wx/frame.h>
#include <wx/panel.h>

#include <cmath>
#include <thread>

#include "WidgetShot.h"
#include "support/WxTestSupport.h"
#include "widgets/Meter.h"

using namespace vantrel;

namespace {
class MeterTest : public testing::Test {
 protected:
  void SetUp() override {
    frame = new wxFrame(nullptr, wxID_ANY, "gauge", wxPoint(0, 0), wxSize(320, 300));
    auto* panel = new wxPanel(frame);  // a frame would stretch a lone child over itself
    meter = new CMeter(panel, 1009, wxPoint(10, 10), wxSize(249, 234));
    // As the main window sets it up.
    meter->SetNeedleColor(wxColour(255, 0, 0));
    meter->SetShowColorBands(true);
    meter->SetRange(0.0, 240.0);
    meter->SetScaleDecimals(0);
    meter->SetValueDecimals(2);
    meter->SetMajorTicks(12);
    meter->SetMinorTicks(10);
    meter->SetUnits("KMH");
    meter->SetValue(0.0);
    frame->Show();
  }
  void TearDown() override {
    frame->Destroy();
    testsupport::pumpEvents();
  }
  bool painted() {
    meter->Update();
    return testsupport::pumpUntil([this] { return meter->HasCachedFace(); }, 2000);
  }

  wxFrame* frame = nullptr;
  CMeter* meter = nullptr;
};
}  // namespace

TEST_F(MeterTest, OnlyANewValueKeepsTheCachedFace) {
  ASSERT_TRUE(painted());
  meter->SetValue(88.5);
  EXPECT_TRUE(meter->HasCachedFace());
  EXPECT_DOUBLE_EQ(meter->GetValue(), 88.5);
  meter->SetUnits("MPH");
  EXPECT_FALSE(meter->HasCachedFace());
  EXPECT_EQ(meter->GetUnits(), "MPH");
  ASSERT_TRUE(painted());
  meter->SetRange(0.0, 160.0);
  EXPECT_FALSE(meter->HasCachedFace());
  ASSERT_TRUE(painted());
  meter->SetSize(300, 280);  // a new size draws a new face
  EXPECT_FALSE(meter->HasCachedFace());
  EXPECT_TRUE(painted());
}

TEST_F(MeterTest, AValueFromAnotherThreadArrivesOnTheUiThread) {
  std::thread playback([this] { meter->SetValue(42.0); });
  playback.join();
  EXPECT_DOUBLE_EQ(meter->GetValue(), 0.0);
  testsupport::pumpEvents();
  EXPECT_DOUBLE_EQ(meter->GetValue(), 42.0);
}

TEST_F(MeterTest, RenderedGaugeReadsAsAGauge) {
  const wxImage shot = widgettest::grabClientArea(meter, "gauge-0-kmh");
  ASSERT_TRUE(shot.IsOk());
  const MeterLayout l = meterLayout(wxRect(0, 0, 249, 234), meter->Scale());
  auto at = [&](double degrees, double r) {
    const double a = degrees * M_PI / 180;
    return widgettest::pixelAt(shot, static_cast<int>(std::lround(l.center.x + r * std::cos(a))),
                               static_cast<int>(std::lround(l.center.y - r * std::sin(a))));
  };
  // The needle at 0 km/h lies along 225 degrees, lower left.
  const wxColour needle = at(225, 50);
  EXPECT_GT(needle.Red(), 200);
  EXPECT_LT(needle.Green(), 90);
  EXPECT_NE(at(90, 50), needle) << "no needle straight up at 0";
  // The five bands from green at the low end to red at the high end, seen
  // between the tick circle (96) and the rim (101).
  EXPECT_EQ(at(215, 98.5), wxColour(0, 255, 0));
  EXPECT_EQ(at(90, 98.5), wxColour(255, 255, 0));
  EXPECT_EQ(at(-35, 98.5), wxColour(255, 0, 0));
  // Dark text (the unit and the value) in the value box, below the hub.
  int dark = 0;
  for (int y = l.valueRect.GetTop(); y < l.valueRect.GetBottom(); ++y) {
    for (int x = l.valueRect.GetLeft(); x < l.valueRect.GetRight(); ++x) {
      dark += widgettest::pixelAt(shot, x, y).GetLuminance() < 0.3;
    }
  }
  EXPECT_GT(dark, 60);
}
