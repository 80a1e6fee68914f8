#include <gtest/gtest.h>
#include <wx/frame.h>
#include <wx/panel.h>

#include <thread>

#include "WidgetShot.h"
#include "support/WxTestSupport.h"
#include "widgets/LEDDisplay.h"

using namespace vantrel;

namespace {
class ReadoutTest : public testing::Test {
 protected:
  void SetUp() override {
    frame = new wxFrame(nullptr, wxID_ANY, "readout", wxPoint(0, 0), wxSize(260, 100));
    // A 41-pixel client height inside a one-pixel border, as in the main window.
    auto* panel = new wxPanel(frame);  // a frame would stretch a lone child over itself
    led = new CLEDDisplay(panel, 1017, wxPoint(10, 10), wxSize(190, 43), wxBORDER_SIMPLE);
    frame->Show();
  }
  void TearDown() override {
    frame->Destroy();
    testsupport::pumpEvents();
  }
  wxFrame* frame = nullptr;
  CLEDDisplay* led = nullptr;
};
}  // namespace

TEST_F(ReadoutTest, StartsWithItsDefaults) {
  EXPECT_EQ(led->GetText(), "0");
  EXPECT_EQ(led->GetNumberFormat(0), "%3d");
  EXPECT_EQ(led->GetNumberFormat(1), "%.2f");
  EXPECT_EQ(led->GetColor(0), wxColour(0, 0, 0));
  EXPECT_EQ(led->GetColor(1), wxColour(0, 255, 0));
  EXPECT_EQ(led->GetColor(2), wxColour(0, 63, 0));
  EXPECT_EQ(led->GetMargins(), wxPoint(18, 2));
  EXPECT_EQ(led->DigitHeight(), 41);
}

TEST_F(ReadoutTest, NumbersGoThroughTheirFormats) {
  led->SetNumber(5);
  EXPECT_EQ(led->GetText(), "  5");
  led->SetNumber(88.5f);
  EXPECT_EQ(led->GetText(), "88.50");
  EXPECT_TRUE(led->SetNumberFormat("%05d", 0));
  EXPECT_TRUE(led->SetNumberFormat("%.1f km", 1));
  led->SetNumber(42);
  EXPECT_EQ(led->GetText(), "00042");
  led->SetNumber(3.25f);
  EXPECT_EQ(led->GetText(), "3.2 km");
}

TEST_F(ReadoutTest, FormatsThatWouldReadAMissingOrWrongArgumentAreRefused) {
  struct Case {
    const char* format;
    int index;
  } refused[] = {{"%s", 0},  {"%d %d", 0}, {"%f", 0}, {"%d", 1},  {"%n", 0},
                 {"%*d", 0}, {"speed", 1}, {"%", 0},  {"%3d", 2}, {"%3d", -1}};
  for (const Case& c : refused) {
    EXPECT_FALSE(led->SetNumberFormat(c.format, c.index)) << c.format << " " << c.index;
  }
  EXPECT_EQ(led->GetNumberFormat(0), "%3d");
  EXPECT_EQ(led->GetNumberFormat(1), "%.2f");
  EXPECT_EQ(led->GetNumberFormat(2), "");
  EXPECT_TRUE(led->SetNumberFormat("%d%%", 0));
  led->SetNumber(7);
  EXPECT_EQ(led->GetText(), "7%");
}

TEST_F(ReadoutTest, ColoursMarginsAndHeight) {
  led->SetColor(3, *wxRED, true);
  led->SetColor(-1, *wxRED, true);
  for (int i = 0; i < 3; ++i) EXPECT_NE(led->GetColor(i), *wxRED) << i;
  EXPECT_FALSE(led->GetColor(3).IsOk());
  led->SetColor(1, wxColour(200, 100, 40));
  EXPECT_EQ(led->GetColor(2), wxColour(50, 25, 10)) << "unlit follows the lit colour";
  led->SetColor(2, wxColour(9, 9, 9));
  led->SetColor(1, wxColour(0, 255, 0));
  EXPECT_EQ(led->GetColor(2), wxColour(9, 9, 9)) << "until it is set";
  led->SetMargins(0, 5);
  EXPECT_EQ(led->GetMargins(), wxPoint(18, 5));
  led->SetMargins(30, -2);
  EXPECT_EQ(led->GetMargins(), wxPoint(30, 5));
  led->SetDigitHeight(0);
  EXPECT_EQ(led->DigitHeight(), 41);
  led->SetDigitHeight(60);
  EXPECT_EQ(led->DigitHeight(), 60);
}

TEST_F(ReadoutTest, TextFromAnotherThreadArrivesOnTheUiThreadInOrder) {
  std::thread playback([this] {
    led->SetText("1");
    led->SetText("00:00:00");
  });
  playback.join();
  EXPECT_EQ(led->GetText(), "0");
  testsupport::pumpEvents();
  EXPECT_EQ(led->GetText(), "00:00:00");
}

TEST_F(ReadoutTest, RenderedClockShowsLitAndUnlitSegments) {
  led->SetText("12:34:5-");
  const wxImage shot = widgettest::grabClientArea(led, "readout-clock");
  ASSERT_TRUE(shot.IsOk());
  using widgettest::pixelAt;
  const wxColour lit(0, 255, 0), unlit(0, 63, 0), background(0, 0, 0);
  // Cells at x = 18, 40, 56 (colon), 72, 94, 110 (colon), 126, 148; T = 2, L = 14.
  EXPECT_EQ(pixelAt(shot, 34, 12), lit) << "'1' stroke b";
  EXPECT_EQ(pixelAt(shot, 27, 4), unlit) << "'1' leaves a unlit";
  EXPECT_EQ(pixelAt(shot, 47, 4), lit) << "'2' stroke a";
  EXPECT_EQ(pixelAt(shot, 65, 14), lit) << "the colon's upper dot";
  EXPECT_EQ(pixelAt(shot, 65, 30), lit) << "the colon's lower dot";
  EXPECT_EQ(pixelAt(shot, 62, 22), background) << "no unlit eight under a colon";
  EXPECT_EQ(pixelAt(shot, 155, 22), lit) << "'-' stroke g";
  EXPECT_EQ(pixelAt(shot, 155, 4), unlit) << "'-' leaves a unlit";
  EXPECT_EQ(pixelAt(shot, 5, 20), background);
}
