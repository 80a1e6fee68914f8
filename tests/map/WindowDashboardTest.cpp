#include <gtest/gtest.h>
#include <wx/choice.h>
#include <wx/display.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/ControlTable.h"
#include "app/GpsSyncEvent.h"
#include "app/VantrelDlg.h"
#include "engine/PlayerState.h"
#include "gps/SentenceTracks.h"
#include "map/BigMap.h"
#include "map/MapPages.h"
#include "map/MapTestSupport.h"
#include "widgets/LEDDisplay.h"
#include "widgets/Meter.h"

using namespace vantrel;
using testsupport::evaluate;

namespace {

// A drive as the sample recordings carry it, one sentence a second.
std::vector<std::string> generatedDrive(int seconds) {
  const std::string command =
      std::string(VANTREL_SOURCE_DIR) + "/tests/fixtures/gps-track.py " + std::to_string(seconds);
  std::vector<std::string> track;
  if (std::FILE* pipe = popen(command.c_str(), "r")) {
    char line[300];
    while (std::fgets(line, sizeof line, pipe)) {
      std::string sentence(line);
      while (!sentence.empty() && sentence.back() == '\n') sentence.pop_back();
      track.push_back(sentence);
    }
    pclose(pipe);
  }
  return track;
}

class WindowDashboard : public testing::Test {
 protected:
  void SetUp() override {
    setenv(kMapTilesVariable, "none", 1);  // offline: a plain background
    dialog = new CVantrelDlg(player);
    dialog->Show();
    ASSERT_TRUE(testsupport::waitForPage(dialog->SmallMap()));
    testsupport::recordMapCalls(dialog->SmallMap());
  }
  void TearDown() override { dialog->Destroy(); }

  void LoadTrack(const std::vector<std::string>& track, int64_t duration) {
    playerStateInit(player);
    testsupport::publishTrack(dialog->CurrentTrack(), testsupport::sentenceTrack(track));
    player.durationSeconds = duration;
    Post(kSyncTrackLoaded, 0);
  }
  void Post(GpsSyncCode code, long seconds) {
    player.elapsedSeconds = seconds;
    wxQueueEvent(dialog, new GpsSyncEvent(code, seconds, player.generation.load()));
    testsupport::pumpFor(50);
  }
  wxString Readout(int id) { return static_cast<CLEDDisplay*>(dialog->FindWindow(id))->GetText(); }

  PlayerState player;
  CVantrelDlg* dialog = nullptr;
};

}  // namespace

TEST_F(WindowDashboard, TicksMoveTheReadoutsTheGaugeAndTheTravelledLine) {
  const std::vector<std::string> drive = generatedDrive(60);
  ASSERT_EQ(drive.size(), 60u);
  LoadTrack(drive, 60);  // one entry a second
  EXPECT_EQ(evaluate(dialog->SmallMap(), "vantrelMap.route.length"), "60");
  for (long t = 1; t <= 40; ++t) Post(kSyncTick, t);
  EXPECT_EQ(evaluate(dialog->SmallMap(), "vantrelMap.travelled.length"), "40");
  EXPECT_EQ(Readout(IDC_LED_TIME), "07:30:44");  // entry 39, a second after 07:30:05
  const TripStatistics& trip = dialog->GetDashboard().Trip();
  EXPECT_GT(trip.totalDistance, 500.0f);
  EXPECT_EQ(Readout(IDC_LED_SPEED), wxString::Format("%6.2f", trip.currentSpeed));
  auto* meter = static_cast<CMeter*>(dialog->FindWindow(IDC_METER));
  EXPECT_FLOAT_EQ(static_cast<float>(meter->GetValue()), trip.currentSpeed);

  // MPH in the unit box: the gauge's units and the speed readouts convert.
  auto* unit = static_cast<wxChoice*>(dialog->FindWindow(IDC_SPEED_UNIT));
  unit->SetSelection(1);
  wxCommandEvent chosen(wxEVT_CHOICE, IDC_SPEED_UNIT);
  chosen.SetInt(1);
  dialog->GetEventHandler()->ProcessEvent(chosen);
  EXPECT_EQ(meter->GetUnits(), "MPH");
  EXPECT_EQ(Readout(IDC_LED_MAX_SPEED), wxString::Format("%6.2f", trip.maxSpeed * kMphFactor));
  testsupport::pumpFor(300);
  testsupport::saveScreenshot("window-dashboard");

  // A seek back to second 10 rebuilds the travelled line up to there.
  Post(kSyncSeek, 10);
  EXPECT_EQ(evaluate(dialog->SmallMap(), "vantrelMap.travelled.length"), "9");  // 0-7, then 9
  EXPECT_EQ(Readout(IDC_LED_TIME), "07:30:14");
}

// The next recording starts both maps from nothing, whatever its first
// entry: here it has no fix, so its route begins without mapinitialize. No
// start marker, travelled line or straight line from the last drive remains,
// on the small map and on the open large map alike.
TEST_F(WindowDashboard, ANewRecordingsRouteStartsOnEmptyMaps) {
  const std::vector<std::string> drive = generatedDrive(60);
  LoadTrack(drive, 60);
  for (long t = 1; t <= 20; ++t) Post(kSyncTick, t);
  wxCommandEvent click(wxEVT_BUTTON, IDC_BIG_MAP);
  dialog->GetEventHandler()->ProcessEvent(click);
  CBigMap* big = dialog->RouteMaps().BigMap();
  ASSERT_TRUE(testsupport::waitForPage(big->Browser()));
  Post(kSyncTick, 21);
  ASSERT_EQ(evaluate(big->Browser(), "vantrelMap.route.length"), "60");

  // Further along, the first entry without a fix.
  std::vector<std::string> next(drive.begin() + 30, drive.begin() + 50);
  next[0] = "$GPRMC,V,073035.000,,,,,0.00,0.0,101226";
  LoadTrack(next, 20);
  Post(kSyncTick, 1);
  Post(kSyncTick, 2);  // the large map takes the route at a tick
  const char* state =
      "[vantrelMap.route.length, vantrelMap.travelled.length, vantrelMap.start === null,"
      " vantrelMap.route[0].lat.toFixed(6)].join(' ')";
  EXPECT_EQ(evaluate(dialog->SmallMap(), state), evaluate(big->Browser(), state));
  EXPECT_EQ(evaluate(dialog->SmallMap(), "vantrelMap.route.length"), "19");
  EXPECT_EQ(evaluate(dialog->SmallMap(), "vantrelMap.start === null"), "true");
  EXPECT_EQ(evaluate(dialog->SmallMap(), "vantrelMap.travelled.length"), "1");  // entry 1
  EXPECT_EQ(evaluate(big->Browser(), "vantrelMap.route.length"), "19");

  // A recording without a track leaves both maps empty.
  LoadTrack({}, 10);
  Post(kSyncTick, 1);
  for (CExplorer1* map : {&dialog->SmallMap(), &big->Browser()}) {
    EXPECT_EQ(evaluate(*map,
                       "[vantrelMap.route.length, vantrelMap.travelled.length,"
                       " vantrelMap.start, vantrelMap.end, vantrelMap.current].join()"),
              "0,0,,,");
  }
}

TEST_F(WindowDashboard, MessagesOfAReplacedPlaybackAreDropped) {
  LoadTrack(generatedDrive(10), 10);
  Post(kSyncTick, 3);
  ASSERT_EQ(Readout(IDC_LED_TIME), "07:30:07");
  wxQueueEvent(dialog, new GpsSyncEvent(kSyncTick, 8, player.generation.load() - 1));
  testsupport::pumpFor(50);
  EXPECT_EQ(Readout(IDC_LED_TIME), "07:30:07");
}

TEST_F(WindowDashboard, LargeMapCatchesUpAtTheNextTickAfterOpening) {
  LoadTrack(generatedDrive(60), 60);
  for (long t = 1; t <= 20; ++t) Post(kSyncTick, t);
  wxCommandEvent click(wxEVT_BUTTON, IDC_BIG_MAP);
  dialog->GetEventHandler()->ProcessEvent(click);
  CBigMap* big = dialog->RouteMaps().BigMap();
  ASSERT_NE(big, nullptr);
  EXPECT_TRUE(big->m_bOpen);
  EXPECT_EQ(big->FindWindow(wxID_OK)->GetLabel(), dialog->LanguageText(18));
  Post(kSyncTick, 21);  // the page is usually still loading: tried again later
  // Its client area covers the screen, not centred on the main window.
  const wxRect screen = wxDisplay(0u).GetGeometry();
  EXPECT_EQ(big->ClientToScreen(wxPoint(0, 0)), screen.GetPosition());
  EXPECT_GE(big->GetClientSize().x, screen.width);
  EXPECT_GE(big->GetClientSize().y, screen.height);
  ASSERT_TRUE(testsupport::waitForPage(big->Browser()));
  Post(kSyncTick, 22);
  EXPECT_TRUE(big->m_bRouteReady);
  EXPECT_EQ(evaluate(big->Browser(), "vantrelMap.route.length"), "60");
  // Entries 0-19 redrawn, then the current entry 21.
  EXPECT_EQ(evaluate(big->Browser(), "vantrelMap.travelled.length"), "21");
  for (long t = 23; t <= 45; ++t) Post(kSyncTick, t);
  EXPECT_EQ(evaluate(big->Browser(), "vantrelMap.travelled.length"), "44");
  testsupport::pumpFor(300);
  testsupport::saveScreenshot("window-large-map");
}

TEST_F(WindowDashboard, EscapeWhileTheLargeMapIsOpenClosesOnlyTheLargeMap) {
  bool bigClosed = false;
  dialog->CallAfter([&] {
    wxCommandEvent click(wxEVT_BUTTON, IDC_BIG_MAP);
    dialog->GetEventHandler()->ProcessEvent(click);
    // GTK may keep the focus on the main window, so the key arrives there.
    wxKeyEvent escape(wxEVT_CHAR_HOOK);
    escape.m_keyCode = WXK_ESCAPE;
    escape.SetEventObject(dialog);
    dialog->GetEventHandler()->ProcessEvent(escape);
    bigClosed = !dialog->RouteMaps().BigMap()->m_bOpen;
    dialog->EndModal(wxID_OK);
  });
  EXPECT_EQ(dialog->ShowModal(), wxID_OK);  // not ended by the Escape
  EXPECT_TRUE(bigClosed);
}
