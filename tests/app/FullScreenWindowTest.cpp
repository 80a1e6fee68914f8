#include <gtest/gtest.h>
#include <wx/display.h>

#include <cstdlib>
#include <map>

#include "TempFolder.h"
#include "app/ControlTable.h"
#include "app/FullScreenLayout.h"
#include "app/Language.h"
#include "app/VantrelDlg.h"
#include "engine/PlayerState.h"
#include "support/ModalScript.h"
#include "support/RealInput.h"
#include "support/WxTestSupport.h"

using namespace vantrel;

namespace {

struct ControlState {
  wxRect rect;
  bool shown;
};

std::map<int, ControlState> snapshot(wxWindow& dialog) {
  std::map<int, ControlState> states;
  for (const ControlSpec& spec : dialogControls()) {
    wxWindow* control = dialog.FindWindow(spec.id);
    states[spec.id] = {control->GetRect(), control->IsShown()};
  }
  return states;
}

TEST(FullScreenWindow, EnteringHidesTheDashboardAndPlacesTheStrip) {
  PlayerState player;
  CVantrelDlg dialog(player);
  dialog.Show();
  testsupport::pumpFor(200);
  const auto before = snapshot(dialog);

  dialog.ToggleFullScreen();
  testsupport::pumpFor(300);
  EXPECT_TRUE(dialog.ShowsFullScreen());
  const wxSize screen = wxDisplay(0u).GetGeometry().GetSize();
  // The client area covers the screen (the toolkit may overshoot by a pixel).
  EXPECT_GE(dialog.GetClientSize().x, screen.x);
  EXPECT_GE(dialog.GetClientSize().y, screen.y);
  for (int id : kHiddenInFullScreen) EXPECT_FALSE(dialog.FindWindow(id)->IsShown()) << id;
  for (const StripPlacement& place : stripPlacements(dialog.SavedLayout(), screen)) {
    EXPECT_EQ(dialog.FindWindow(place.id)->GetPosition(), place.position) << place.id;
    EXPECT_TRUE(dialog.FindWindow(place.id)->IsShown()) << place.id;
  }
  const wxRect video = dialog.FindWindow(IDC_VIDEO)->GetRect();
  EXPECT_EQ(video.GetBottom() + 1, screen.y - 120);
  EXPECT_GE(video.width, screen.x);
  // The small map, the loading text and the status line keep place and visibility.
  for (int id : {IDC_MAP, IDC_LOADING, IDC_STATUS}) {
    EXPECT_EQ(dialog.FindWindow(id)->GetRect(), before.at(id).rect) << id;
    EXPECT_EQ(dialog.FindWindow(id)->IsShown(), before.at(id).shown) << id;
  }
  EXPECT_EQ(dialog.FindWindow(IDC_FULLSCREEN)->GetLabel(), languageLabel(3, 15));
  testsupport::saveScreenshot("full-screen");
  dialog.ToggleFullScreen();
}

TEST(FullScreenWindow, TogglingTwiceRestoresEveryRectangleAndVisibility) {
  PlayerState player;
  CVantrelDlg dialog(player);
  dialog.Show();
  testsupport::pumpFor(200);
  const auto before = snapshot(dialog);
  const wxRect window = dialog.GetScreenRect();

  dialog.ToggleFullScreen();
  testsupport::pumpFor(200);
  dialog.ToggleFullScreen();
  testsupport::pumpFor(300);

  EXPECT_FALSE(dialog.ShowsFullScreen());
  // Without a window manager the toolkit reports positions unreliably; the
  // size tells that the normal window is back.
  EXPECT_EQ(dialog.GetScreenRect().GetSize(), window.GetSize());
  const auto after = snapshot(dialog);
  for (int id : kLayoutIds) {
    EXPECT_EQ(after.at(id).rect, dialog.SavedLayout().rectOf(id)) << id;
  }
  for (const auto& [id, state] : before) {
    // The volume slider took its bitmap's size after the layout was saved.
    if (id != IDC_VOLUME) {
      EXPECT_EQ(after.at(id).rect, state.rect) << id;
    }
    EXPECT_EQ(after.at(id).shown, state.shown) << id;
  }
  EXPECT_EQ(dialog.FindWindow(IDC_FULLSCREEN)->GetLabel(), languageLabel(3, 14));
}

// As the program runs it: inside ShowModal, with real clicks, idle and while
// a recording plays. Hiding a modal dialog ends its loop in GTK, and with it
// the program.
TEST(FullScreenWindow, TogglingTwiceInTheModalLoopLeavesTheProgramRunningUntilExit) {
  setenv("SDL_AUDIODRIVER", "dummy", 0);
  for (const bool playing : {false, true}) {
    testsupport::TempFolder folder;
    std::filesystem::copy_file(std::filesystem::path(VANTREL_FIXTURES) / "play-aac.mp4",
                               folder.path() / "a.mp4");  // 10 s
    PlayerState player;
    CVantrelDlg dialog(player);
    dialog.OpenFolder(folder.path().string());
    wxWindow* button = dialog.FindWindow(IDC_FULLSCREEN);
    const wxSize screen = wxDisplay(0u).GetGeometry().GetSize();
    // Where the strip puts the button, and where it is on the screen now.
    const auto inStrip = [&] {
      return button->GetScreenPosition().y >= screen.y - 2 * button->GetSize().y - 20;
    };
    testsupport::ModalScript script;
    script.step("shown", nullptr, [&] { return dialog.IsShownOnScreen(); });
    if (playing) {
      script.step(
          "play", [&] { dialog.PlaySelectedEntry(); },
          [&] { return player.playState == Playing && dialog.FindWindow(IDC_STOP)->IsEnabled(); },
          8000);
    }
    script
        .step(
            "enter full screen", [&] { testsupport::clickOn(*button); },
            [&, settled = testsupport::after(300)] {
              return dialog.ShowsFullScreen() && inStrip() && button->IsShownOnScreen() && settled();
            })
        .step(
            "leave full screen", [&] { testsupport::clickOn(*button); },
            [&, settled = testsupport::after(300)] {
              return !dialog.ShowsFullScreen() && !inStrip() &&
                     dialog.FindWindow(IDC_PLAYLIST)->IsShownOnScreen() && settled();
            })
        .step("exit", [&] { testsupport::clickOn(*dialog.FindWindow(IDOK_EXIT)); });
    EXPECT_EQ(script.run(dialog), wxID_OK) << (playing ? "playing" : "idle");
    EXPECT_EQ(script.unfinished(), "") << (playing ? "playing" : "idle");
    EXPECT_EQ(dialog.FindWindow(IDC_FULLSCREEN)->GetLabel(), languageLabel(3, 14));
  }
}

}  // namespace
