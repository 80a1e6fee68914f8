#include <gtest/gtest.h>

#include "app/ControlTable.h"
#include "app/VantrelDlg.h"
#include "engine/PlayerState.h"
#include "support/WxTestSupport.h"
#include "widgets/BitmapSlider.h"
#include "widgets/LEDDisplay.h"
#include "widgets/Meter.h"

using namespace vantrel;

namespace {
template <typename Control>
Control* control(CVantrelDlg& dialog, int id) {
  return dynamic_cast<Control*>(dialog.FindWindow(id));
}
}  // namespace

TEST(MainWindowInstruments, GaugeReadoutsAndSlidersAsStartUpSetsThem) {
  PlayerState player;
  CVantrelDlg dialog(player);
  dialog.Show();
  testsupport::pumpFor(300);

  auto* meter = control<CMeter>(dialog, IDC_METER);
  ASSERT_NE(meter, nullptr);
  EXPECT_DOUBLE_EQ(meter->GetValue(), 0.0);
  EXPECT_EQ(meter->GetUnits(), "KMH");
  EXPECT_DOUBLE_EQ(meter->Scale().minValue, 0.0);
  EXPECT_DOUBLE_EQ(meter->Scale().maxValue, 240.0);
  EXPECT_EQ(meter->Scale().majorTicks, 12);
  EXPECT_EQ(meter->Scale().minorTicks, 10);
  EXPECT_EQ(meter->Scale().startAngle, 225);
  EXPECT_EQ(meter->Scale().endAngle, 315);

  for (int id : {IDC_LED_TIME, IDC_LED_LATITUDE, IDC_LED_LONGITUDE, IDC_LED_SPEED,
                 IDC_LED_MAX_SPEED, IDC_LED_AVG_SPEED, IDC_LED_DISTANCE}) {
    auto* led = control<CLEDDisplay>(dialog, id);
    ASSERT_NE(led, nullptr) << id;
    EXPECT_TRUE(led->HasFlag(wxBORDER_SIMPLE)) << id;
  }

  auto* progress = control<CBitmapSlider>(dialog, IDC_PROGRESS);
  ASSERT_NE(progress, nullptr);
  EXPECT_EQ(progress->GetSize(), wxSize(640, 17));
  EXPECT_TRUE(progress->HasThumb());
  EXPECT_EQ(progress->GetRangeMin(), 0);
  EXPECT_EQ(progress->GetRangeMax(), 0);
  EXPECT_EQ(progress->GetPos(), 0);
  const SliderTrack track = progress->Track();
  EXPECT_EQ(track.marginLeft, 2);
  EXPECT_EQ(track.marginRight, 2);
  EXPECT_EQ(track.pixelOf(progress->GetPos()), 13) << "the empty slider's thumb at the left end";

  auto* volume = control<CBitmapSlider>(dialog, IDC_VOLUME);
  ASSERT_NE(volume, nullptr);
  EXPECT_EQ(volume->GetSize(), wxSize(110, 40));
  EXPECT_FALSE(volume->HasThumb());
  EXPECT_EQ(volume->GetRangeMax(), 128);
  EXPECT_EQ(volume->GetPos(), 80);
  EXPECT_EQ(player.volume.load(), 80);
  EXPECT_EQ(volume->Track().pixelOf(volume->GetPos()), 66);

  testsupport::saveScreenshot("main-window-instruments");
}
