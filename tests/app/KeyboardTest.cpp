// Keys as a user presses them: real key events on the test display, the
// dialog in its real modal loop.
#include <gtest/gtest.h>
#include <wx/listbox.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>

#include "TempFolder.h"
#include "app/ControlTable.h"
#include "app/VantrelDlg.h"
#include "engine/PlayerState.h"
#include "support/ModalScript.h"
#include "support/RealInput.h"
#include "support/WxTestSupport.h"
#include "widgets/BitmapSlider.h"

using namespace vantrel;
namespace fs = std::filesystem;
using testsupport::ModalScript;

namespace {

class Keyboard : public testing::Test {
 protected:
  void SetUp() override { setenv("SDL_AUDIODRIVER", "dummy", 0); }

  // Two copies of a 10 s recording in the playlist.
  void ListRecordings() {
    for (const char* name : {"a.mp4", "b.mp4"}) {
      fs::copy_file(fs::path(VANTREL_FIXTURES) / "play-aac.mp4", folder.path() / name);
    }
    dialog.OpenFolder(folder.path().string());
  }
  wxListBox* Playlist() { return static_cast<wxListBox*>(dialog.FindWindow(IDC_PLAYLIST)); }
  CBitmapSlider* Slider(int id) { return static_cast<CBitmapSlider*>(dialog.FindWindow(id)); }
  bool IsPlaying() {
    return player.playState == Playing && dialog.FindWindow(IDC_STOP)->IsEnabled();
  }
  testsupport::TempFolder folder;
  PlayerState player;
  CVantrelDlg dialog{player};
};

}  // namespace

// Enter in the playlist plays the selected entry and never ends the program;
// Escape still does.
TEST_F(Keyboard, EnterInThePlaylistPlaysAndNeverEndsTheProgram) {
  ModalScript script;
  script
      .step("shown", nullptr, [&] { return dialog.IsShownOnScreen(); })
      // At start-up the empty playlist has the focus.
      .step("click the empty list", [&] { testsupport::clickOn(*Playlist()); })
      .step(
          "Enter on the empty list", [&] { testsupport::pressKeys("Return"); },
          testsupport::after(500))
      .step("list the recordings", [&] { ListRecordings(); })
      .step(
          "click the first entry", [&] { testsupport::clickOn(*Playlist(), wxPoint(40, 8)); },
          [&] { return Playlist()->GetSelection() == 0; })
      .step(
          "Down", [&] { testsupport::pressKeys("Down"); },
          [&] { return Playlist()->GetSelection() == 1; })
      .step(
          "Enter on the entry", [&] { testsupport::pressKeys("Return"); },
          [&] { return IsPlaying() && player.getFileName().ends_with("b.mp4"); }, 8000)
      .step("still running", nullptr, testsupport::after(300))
      .step("Escape", [&] { testsupport::pressKeys("Escape"); });
  EXPECT_EQ(script.run(dialog), wxID_CANCEL);
  EXPECT_EQ(script.unfinished(), "");
}

// After a click the sliders take the described keys; the playlist keeps its
// selection.
TEST_F(Keyboard, TheVolumeSliderTakesItsKeysAfterAClick) {
  struct Case {
    const char* key;
    int volume;  // after the key
  };
  // From 64, where the click puts it; page size 1.
  const Case cases[] = {{"End", 128}, {"Left", 127}, {"Down", 128}, {"Prior", 127},
                        {"Home", 0},  {"Right", 1},  {"Up", 0},     {"Next", 1}};
  ListRecordings();
  CBitmapSlider* volume = Slider(IDC_VOLUME);
  const wxPoint middle(volume->Track().pixelOf(64), volume->GetClientSize().y / 2);
  ModalScript script;
  script.step("shown", nullptr, [&] { return dialog.IsShownOnScreen(); })
      .step(
          "click the middle of the volume", [&] { testsupport::clickOn(*volume, middle); },
          [&] { return player.volume == volume->GetPos() && volume->HasFocus(); });
  for (const Case& c : cases) {
    script.step(
        std::string("key ") + c.key, [&] { testsupport::pressKeys(c.key); },
        [&] { return player.volume == c.volume && volume->GetPos() == c.volume; });
  }
  script.step("exit", [&] { testsupport::clickOn(*dialog.FindWindow(IDOK_EXIT)); });
  EXPECT_EQ(script.run(dialog), wxID_OK);
  EXPECT_EQ(script.unfinished(), "");
  EXPECT_EQ(Playlist()->GetSelection(), 0) << "the keys went to the playlist";
}

TEST_F(Keyboard, TheProgressSliderSeeksWithItsKeysAfterAClick) {
  ListRecordings();
  CBitmapSlider* progress = Slider(IDC_PROGRESS);
  ModalScript script;
  script.step("shown", nullptr, [&] { return dialog.IsShownOnScreen(); })
      .step(
          "play", [&] { dialog.PlaySelectedEntry(); }, [&] { return IsPlaying(); }, 8000)
      .step(
          "click at second 5",
          [&] { testsupport::clickOn(*progress, wxPoint(progress->Track().pixelOf(5), 8)); },
          [&] { return player.elapsedSeconds == 5 && progress->HasFocus(); })
      .step(
          "Home", [&] { testsupport::pressKeys("Home"); },
          [&] { return player.elapsedSeconds == 0 && progress->GetPos() == 0; })
      .step(
          "Right", [&] { testsupport::pressKeys("Right"); },
          [&] { return player.elapsedSeconds == 1 && progress->GetPos() == 1; })
      .step("exit", [&] { testsupport::clickOn(*dialog.FindWindow(IDOK_EXIT)); });
  EXPECT_EQ(script.run(dialog), wxID_OK);
  EXPECT_EQ(script.unfinished(), "");
  EXPECT_EQ(Playlist()->GetSelection(), 0);
}

// A slider shows its focus frame only while the keys come to it.
TEST_F(Keyboard, TheFocusFrameFollowsTheRealFocus) {
  ListRecordings();
  CBitmapSlider* volume = Slider(IDC_VOLUME);
  ModalScript script;
  script.step("shown", nullptr, [&] { return dialog.IsShownOnScreen(); })
      .step(
          "click the volume", [&] { testsupport::clickOn(*volume); },
          [&] { return wxWindow::FindFocus() == volume && volume->HasFocus(); })
      .step(
          "click the playlist", [&] { testsupport::clickOn(*Playlist()); },
          [&] { return wxWindow::FindFocus() == Playlist() && !volume->HasFocus(); })
      .step("exit", [&] { testsupport::clickOn(*dialog.FindWindow(IDOK_EXIT)); });
  EXPECT_EQ(script.run(dialog), wxID_OK);
  EXPECT_EQ(script.unfinished(), "");
}
