// The transport in the real window: the buttons, the sliders, timers 1 and 2
// and the playing and idle looks, on short generated recordings.
#include <gtest/gtest.h>
#include <wx/button.h>
#include <wx/listbox.h>
#include <wx/stattext.h>

#include <cstdlib>
#include <filesystem>

#include "TempFolder.h"
#include "app/ControlTable.h"
#include "app/LanguageTable.h"
#include "app/VantrelDlg.h"
#include "engine/Messages.h"
#include "engine/PlayerState.h"
#include "support/ProcessState.h"
#include "support/WxTestSupport.h"
#include "widgets/BitmapSlider.h"
#include "widgets/LEDDisplay.h"
#include "widgets/Meter.h"

using namespace vantrel;
namespace fs = std::filesystem;

class Transport : public testing::Test {
 protected:
  void SetUp() override {
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    const fs::path clip = fs::path(VANTREL_FIXTURES) / "play-short.MOV";  // 2 s
    fs::copy_file(clip, folder.path() / "a.MOV");
    fs::copy_file(clip, folder.path() / "b.MOV");
    dialog.Show();
    dialog.OpenFolder(folder.path().string());
  }

  void click(int id) {
    wxCommandEvent event(wxEVT_BUTTON, id);
    event.SetEventObject(dialog.FindWindow(id));
    dialog.GetEventHandler()->ProcessEvent(event);
  }
  void sliderMessage(int message, int id) {
    wxThreadEvent event(wxEVT_THREAD, message);
    event.SetExtraLong(id);
    dialog.GetEventHandler()->ProcessEvent(event);
  }
  void holdSlider(int id) { sliderMessage(WM_SLIDER_TRACK, id); }
  // Timer 2 fires: one playing second more.
  void elapsedTick() {
    wxTimer timer(&dialog, CVantrelDlg::kElapsedTimer);
    wxTimerEvent event(timer);
    dialog.GetEventHandler()->ProcessEvent(event);
  }
  void releaseSlider(int id) { sliderMessage(WM_SLIDER_SET, id); }
  wxString label(int id) { return dialog.FindWindow(id)->GetLabel(); }
  bool enabled(int id) { return dialog.FindWindow(id)->IsEnabled(); }
  CBitmapSlider* progress() { return static_cast<CBitmapSlider*>(dialog.FindWindow(IDC_PROGRESS)); }
  wxString readout(int id) { return static_cast<CLEDDisplay*>(dialog.FindWindow(id))->GetText(); }
  int selection() {
    return static_cast<wxListBox*>(dialog.FindWindow(IDC_PLAYLIST))->GetSelection();
  }
  // Playing, with the playing look applied by the UI thread.
  bool playing() { return player.playState == Playing && enabled(IDC_STOP); }

  void expectIdleLook() {
    EXPECT_EQ(label(IDC_PLAY), dialog.LanguageText(kSlotPlayStopped));
    EXPECT_FALSE(enabled(IDC_STOP));
    EXPECT_FALSE(enabled(IDC_SCREENSHOT));
    EXPECT_EQ(progress()->GetRangeMin(), 0);
    EXPECT_EQ(progress()->GetRangeMax(), 0);
    EXPECT_EQ(progress()->GetPos(), 0);
    EXPECT_EQ(label(IDC_TIME_LEN), "00:00:00");
    EXPECT_EQ(label(IDC_TIME_POS), "00:00:00");
    EXPECT_EQ(static_cast<CMeter*>(dialog.FindWindow(IDC_METER))->GetValue(), 0.0);
    const std::pair<int, const char*> readouts[] = {
        {IDC_LED_SPEED, "000.00"},      {IDC_LED_MAX_SPEED, "000.00"},
        {IDC_LED_AVG_SPEED, "000.00"},  {IDC_LED_DISTANCE, "000000000"},
        {IDC_LED_LATITUDE, "00000000"}, {IDC_LED_LONGITUDE, "000000000"},
        {IDC_LED_TIME, "00:00:00"},
    };
    for (auto [id, text] : readouts) EXPECT_EQ(readout(id), text) << id;
    EXPECT_EQ(player.elapsedSeconds, 0);
    EXPECT_FALSE(player.opening);
  }

  testsupport::TempFolder folder;
  PlayerState player;
  CVantrelDlg dialog{player};
};

TEST_F(Transport, TheWindowStartsWithTheIdleLook) {
  expectIdleLook();
}

TEST_F(Transport, APlaybackShowsThePlayingLookThenTheListWrapsToTheFirstEntry) {
  static_cast<wxListBox*>(dialog.FindWindow(IDC_PLAYLIST))->SetSelection(1);
  click(IDC_PLAY);
  ASSERT_TRUE(testsupport::pumpUntil([&] { return playing(); }));
  EXPECT_TRUE(player.getFileName().ends_with("b.MOV"));
  EXPECT_EQ(label(IDC_PLAY), dialog.LanguageText(kSlotPlayPlaying));
  EXPECT_TRUE(enabled(IDC_SCREENSHOT));
  EXPECT_EQ(progress()->GetRangeMax(), 2);
  EXPECT_EQ(label(IDC_TIME_LEN), "00:00:02");
  // Timer 2 counts the playing seconds and moves the slider with them.
  ASSERT_TRUE(testsupport::pumpUntil([&] { return label(IDC_TIME_POS) == "00:00:01"; }, 3000));
  EXPECT_EQ(progress()->GetPos(), 1);
  testsupport::saveScreenshot("transport-playing");
  // b is the last entry: its end starts the first one.
  ASSERT_TRUE(testsupport::pumpUntil(
      [&] { return selection() == 0 && player.getFileName().ends_with("a.MOV") && playing(); },
      8000));
}

TEST_F(Transport, PauseResumeAndStopFollowTheLooks) {
  click(IDC_PLAY);
  ASSERT_TRUE(testsupport::pumpUntil([&] { return playing(); }));
  click(IDC_PLAY);
  EXPECT_EQ(player.playState, Paused);
  EXPECT_EQ(label(IDC_PLAY), dialog.LanguageText(kSlotPlayPaused));
  const int64_t elapsed = player.elapsedSeconds;
  testsupport::pumpFor(1300);
  EXPECT_EQ(player.elapsedSeconds, elapsed) << "the counter stands while paused";
  click(IDC_PLAY);
  EXPECT_EQ(player.playState, Playing);
  EXPECT_EQ(label(IDC_PLAY), dialog.LanguageText(kSlotPlayPlaying));
  // Timer 2 slept while paused: Resume starts the count again.
  EXPECT_TRUE(testsupport::pumpUntil([&] { return player.elapsedSeconds > elapsed; }));
  click(IDC_PLAY);
  click(IDC_STOP);
  ASSERT_TRUE(testsupport::pumpUntil([&] { return player.finished && !enabled(IDC_STOP); }));
  testsupport::pumpFor(200);
  expectIdleLook();
  EXPECT_EQ(selection(), 0) << "a stop does not advance the list";
  testsupport::saveScreenshot("transport-stopped");
}

TEST_F(Transport, AStopAsTheRecordingEndsHoldsForTheNextEntry) {
  click(IDC_PLAY);
  ASSERT_TRUE(testsupport::pumpUntil([&] { return playing(); }));
  // The recording plays to its end while the window takes no events, so its
  // move to the next entry is queued when the user's Stop comes.
  for (int waited = 0; !player.finished && waited < 8000; waited += 10) wxMilliSleep(10);
  ASSERT_TRUE(player.finished);
  click(IDC_STOP);
  testsupport::pumpFor(800);
  EXPECT_TRUE(player.finished) << "the next entry started after the stop";
  EXPECT_EQ(selection(), 0);
  expectIdleLook();
}

TEST_F(Transport, ReleasingTheProgressSliderWhilePlayingSeeksThere) {
  click(IDC_PLAY);
  ASSERT_TRUE(testsupport::pumpUntil([&] { return playing(); }));
  // While the thumb is held, the playing seconds do not move it.
  holdSlider(IDC_PROGRESS);
  progress()->SetPos(0);
  elapsedTick();
  EXPECT_EQ(progress()->GetPos(), 0);
  progress()->SetPos(1);
  releaseSlider(IDC_PROGRESS);
  EXPECT_EQ(player.elapsedSeconds, 1);
  EXPECT_EQ(progress()->GetPos(), 1);
  elapsedTick();  // let go, it follows the playback again
  EXPECT_EQ(progress()->GetPos(), 2);
  ASSERT_TRUE(testsupport::pumpUntil([&] { return !player.seeks.pending(); }))
      << "the playback thread takes the request";
}

TEST_F(Transport, TheVolumeSliderSetsTheMixingVolume) {
  EXPECT_EQ(player.volume, 80);
  auto* volume = static_cast<CBitmapSlider*>(dialog.FindWindow(IDC_VOLUME));
  volume->SetPos(30);
  testsupport::pumpEvents();
  releaseSlider(IDC_VOLUME);
  EXPECT_EQ(player.volume, 30);
}

TEST(TransportClose, ClosingTheWindowMidPlaybackJoinsEverything) {
  setenv("SDL_AUDIODRIVER", "dummy", 0);
  PlayerState player;
  {
    CVantrelDlg dialog(player);
    dialog.Show();
    dialog.OpenFolder(VANTREL_FIXTURES);  // plays whatever sorts first
    wxCommandEvent play(wxEVT_BUTTON, IDC_PLAY);
    dialog.GetEventHandler()->ProcessEvent(play);
    ASSERT_TRUE(testsupport::pumpUntil([&] { return player.playState == Playing; }));
  }
  EXPECT_TRUE(player.finished);
  EXPECT_EQ(player.playState, Idle);
  EXPECT_EQ(testsupport::engineWorkerThreads(), 0);
  EXPECT_EQ(testsupport::threadsNamed({"playback"}), 0);
  EXPECT_EQ(testsupport::filesOpenUnder(VANTREL_FIXTURES), 0) << "the recording is closed";
}
