// The window's keys as a user presses them: real key events on the test
// display, the dialog in its real modal loop, each key checked by what its
// command does.
#include <gtest/gtest.h>
#include <wx/listbox.h>
#include <wx/stattext.h>

#include <cstdlib>
#include <filesystem>

#include "TempFolder.h"
#include "app/ControlTable.h"
#include "app/VantrelDlg.h"
#include "app/VideoPanel.h"
#include "engine/PlayerState.h"
#include "map/BigMap.h"
#include "support/FrameNumber.h"
#include "support/ModalScript.h"
#include "support/RealInput.h"
#include "support/WxTestSupport.h"
#include "widgets/BitmapSlider.h"

using namespace vantrel;
namespace fs = std::filesystem;
using testsupport::after;
using testsupport::ModalScript;
using testsupport::pressKeys;

namespace {

class CommandKeys : public testing::Test {
 protected:
  void SetUp() override {
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    previous_ = fs::current_path();
    fs::current_path(folder.path());  // screenshots and clips go here
    for (const char* name : {"a.mp4", "b.mp4"}) {
      fs::copy_file(fs::path(VANTREL_FIXTURES) / "numbered.mp4", folder.path() / name);
    }
    dialog.OpenFolder(folder.path().string());
  }
  void TearDown() override { fs::current_path(previous_); }

  wxListBox* Playlist() { return static_cast<wxListBox*>(dialog.FindWindow(IDC_PLAYLIST)); }
  bool PlayingFile(const char* name) {
    return player.playState == Playing && dialog.ShowsPlayback() &&
           player.getFileName().ends_with(name);
  }
  // A picture of this playback is on screen.
  bool Showing() {
    const auto frame = dialog.VideoArea()->CurrentFrame();
    return frame && frame->generation == player.generation;
  }
  // The number the picture on screen carries, -1 when none shows.
  int Number() {
    const auto frame = dialog.VideoArea()->CurrentFrame();
    if (!frame || frame->generation != player.generation) return -1;
    return testsupport::pictureNumberOf([&](int x, int y) { return frame->row(y)[3 * x + 1]; });
  }
  // Paused on picture n (30 a second), with the slider and the elapsed time
  // at its second.
  std::function<bool()> PausedAt(int n) {
    return [this, n, second = n / 30] {
      return player.playState == Paused && Number() == n &&
             static_cast<CBitmapSlider*>(dialog.FindWindow(IDC_PROGRESS))->GetPos() == second &&
             dialog.FindWindow(IDC_TIME_POS)->GetLabel() == wxString::Format("00:00:%02d", second);
    };
  }
  int Saved() {
    const fs::path shots = folder.path() / "VideoScreenshot";
    if (!fs::is_directory(shots)) return 0;
    return static_cast<int>(std::distance(fs::directory_iterator(shots), fs::directory_iterator()));
  }
  std::function<void()> Click(wxWindow* window) {
    return [window] { testsupport::clickOn(*window); };
  }
  std::function<void()> Press(const char* keys) {
    return [keys] { pressKeys(keys); };
  }
  // Keys that start another recording. Until its playback has started, the
  // one before winds down still playing, under the new file's name already.
  std::function<void()> PressForAnother(const char* keys) {
    return [this, keys] {
      generationBefore_ = player.generation;
      pressKeys(keys);
    };
  }
  std::function<bool()> AnotherPlaying(const char* name) {
    return [this, name] {
      return player.generation != generationBefore_ && !player.opening && PlayingFile(name);
    };
  }
  // The window on screen and the keyboard's focus on the picture, which
  // leaves every key to the window's commands.
  ModalScript& FocusThePicture(ModalScript& script) {
    return script.step("shown", nullptr, [this] { return dialog.IsShownOnScreen(); })
        .step("click the picture", Click(dialog.VideoArea()),
              [this] { return wxWindow::FindFocus() == dialog.VideoArea(); });
  }
  void Run(ModalScript& script, int result) {
    EXPECT_EQ(script.run(dialog), result);
    EXPECT_EQ(script.unfinished(), "");
  }

  testsupport::TempFolder folder;
  fs::path previous_;
  uint32_t generationBefore_ = 0;
  PlayerState player;
  CVantrelDlg dialog{player};
};

}  // namespace

// Before anything plays, the commands that need a playback do nothing; the
// volume keys and Mute work at any time.
TEST_F(CommandKeys, DisabledCommandsDoNothingAndTheVolumeKeysWork) {
  const int start = player.volume;
  ASSERT_GE(start, 2 * CVantrelDlg::kVolumeStep);
  ModalScript script;
  FocusThePicture(script)
      .step("s, i, o, Ctrl+S while idle", Press("s i o ctrl+s"), after(400))
      .step("nothing happened", nullptr,
            [&] {
              return Saved() == 0 && !dialog.ClipIn() && !dialog.ClipOut() &&
                     !dialog.FindWindow(IDC_STATUS)->IsShown() && player.playState == Idle;
            })
      .step("m mutes", Press("m"), [&] { return player.volume == 0; })
      .step("m again", Press("m"), [&] { return player.volume == start; })
      .step("Up", Press("Up"), [&] { return player.volume == start + CVantrelDlg::kVolumeStep; })
      .step("Down Down", Press("Down Down"),
            [&] { return player.volume == start - CVantrelDlg::kVolumeStep; })
      .step("exit", Click(dialog.FindWindow(IDOK_EXIT)));
  Run(script, wxID_OK);
  EXPECT_EQ(dialog.GetSettings().volume, start - CVantrelDlg::kVolumeStep)
      << "kept for the next start";
}

// Space plays, I and O mark, Ctrl+S saves, S takes a screenshot, Page Down and
// Page Up change the recording, Space pauses.
TEST_F(CommandKeys, PlaybackKeysReachTheirCommands) {
  ModalScript script;
  FocusThePicture(script)
      .step(
          "Space plays", Press("space"), [&] { return PlayingFile("a.mp4") && Showing(); }, 8000)
      .step("i marks the start", Press("i"), [&] { return dialog.ClipIn().has_value(); })
      .step("s saves a picture", Press("s"), [&] { return Saved() == 1; })
      .step("o marks the end", Press("o"), [&] { return dialog.ClipOut().has_value(); })
      // The clip's file is there before it is whole; the keys reach this
      // window again only once the progress bar has gone.
      .step(
          "Ctrl+S saves the clip", Press("ctrl+s"),
          [&] {
            return Saved() == 2 &&
                   dialog.FindWindow(IDC_STATUS)->GetLabel().StartsWith("Clip saved") &&
                   wxWindow::FindFocus() == dialog.VideoArea();
          },
          8000)
      .step("Page Down plays the next", PressForAnother("Next"), AnotherPlaying("b.mp4"), 8000)
      .step("Page Up the one before", PressForAnother("Prior"), AnotherPlaying("a.mp4"), 8000)
      .step("Page Up wraps to the last", PressForAnother("Prior"), AnotherPlaying("b.mp4"), 8000)
      .step("Space pauses", Press("space"), [&] { return player.playState == Paused; })
      .step("exit", Click(dialog.FindWindow(IDOK_EXIT)));
  Run(script, wxID_OK);
}

// ] and [ step through the speeds, Backspace goes back to normal; the label
// under the elapsed time tells the speed while it is not 1, and the elapsed
// time counts seconds of the recording. Before anything plays the speed is
// set for the playback to come; paused, a change waits for Resume.
TEST_F(CommandKeys, SpeedKeysStepThroughTheSpeedsAndTheLabelTellsIt) {
  wxStaticText* label = dialog.PlaybackSpeedLabel();
  const auto speedShown = [&](double speed, const char* text) {
    return [&, speed, text] {
      return player.speed == speed && label->IsShownOnScreen() &&
             label->GetLabel() == wxString::FromUTF8(text);
    };
  };
  int64_t elapsedBefore = 0;
  double clockBefore = 0.0;
  ModalScript script;
  FocusThePicture(script)
      .step("normal speed, no label", nullptr,
            [&] { return player.speed == 1.0 && !label->IsShown(); })
      .step("[ while idle", Press("bracketleft"), speedShown(0.75, "0.75×"))
      .step("Backspace", Press("BackSpace"),
            [&] { return player.speed == 1.0 && !label->IsShown(); })
      .step(
          "Space plays", Press("space"), [&] { return PlayingFile("a.mp4") && Showing(); }, 8000)
      .step("] ]", Press("bracketright bracketright"), speedShown(1.5, "1.5×"))
      .step("] ]", Press("bracketright bracketright"), speedShown(4.0, "4×"))
      .step("] at the fastest does nothing", Press("bracketright"),
            [&] {
              elapsedBefore = player.elapsedSeconds;
              clockBefore = player.videoClock;
              return player.speed == 4.0;
            })
      // A second of the recording every quarter of a second: four of them,
      // and the pictures as far, well before two seconds have passed.
      .step(
          "the elapsed time and the pictures run four times as fast", nullptr,
          [&] {
            return player.elapsedSeconds >= elapsedBefore + 4 &&
                   player.videoClock >= clockBefore + 4.0;
          },
          2000)
      .step("[ seven times",
            Press("bracketleft bracketleft bracketleft bracketleft "
                  "bracketleft bracketleft bracketleft"),
            speedShown(0.25, "0.25×"))
      .step("[ at the slowest does nothing", Press("bracketleft"), speedShown(0.25, "0.25×"))
      .step("Space pauses", Press("space"), [&] { return player.playState == Paused; })
      // Read after the pause has settled: the playback thread may have
      // been between its pause check and its clock update.
      .step("Backspace", Press("BackSpace"),
            [&] {
              clockBefore = player.audioClock;
              return player.speed == 1.0 && !label->IsShown();
            })
      .step("[", Press("bracketleft"), speedShown(0.75, "0.75×"))
      .step("the clock stood still while paused", nullptr,
            [&, stood = after(300)] { return stood() && player.audioClock == clockBefore; })
      .step("Space plays on", Press("space"),
            [&] { return player.playState == Playing && player.audioClock > clockBefore + 0.3; })
      .step("exit", Click(dialog.FindWindow(IDOK_EXIT)));
  Run(script, wxID_OK);
  EXPECT_EQ(dialog.GetSettings().playbackSpeed, 0.75) << "kept for the next start";
}

// Each speed change restarts the tick of the elapsed time; changes closer
// together than a tick must not hold the count back while the pictures run on.
TEST_F(CommandKeys, SpeedChangesKeepTheElapsedTimeWithThePictures) {
  ModalScript script;
  FocusThePicture(script).step(
      "Space plays", Press("space"), [&] { return PlayingFile("a.mp4") && Showing(); }, 8000);
  for (const char* key : {"bracketright", "bracketleft", "bracketright", "bracketleft",
                          "bracketright", "bracketleft"}) {
    script.step(key, Press(key), [wait = after(600)] { return wait(); });
  }
  script
      .step("the elapsed time is the second of the picture shown", nullptr,
            [&] {
              const int second = Number() / 30;
              return player.playState == Playing && second >= 3 &&
                     std::abs(player.elapsedSeconds.load() - second) <= 1;
            })
      .step("exit", Click(dialog.FindWindow(IDOK_EXIT)));
  Run(script, wxID_OK);
}

// F and F11 switch to full screen and back; Escape leaves full screen, closes
// the large map (L opens it) and the About box (F1), and only then exits.
TEST_F(CommandKeys, EscapeLeavesFullScreenAndClosesBeforeItExits) {
  const auto aboutShown = [] {
    for (wxWindow* window : wxTopLevelWindows) {
      if (window->IsShown() && window->GetLabel().Contains("Vantrel") &&
          window->GetLabel() != "Vantrel") {
        return true;
      }
    }
    return false;
  };
  ModalScript script;
  FocusThePicture(script)
      .step("f", Press("f"), [&] { return dialog.ShowsFullScreen(); })
      .step("Escape leaves it", Press("Escape"), [&] { return !dialog.ShowsFullScreen(); })
      .step("F11", Press("F11"), [&] { return dialog.ShowsFullScreen(); })
      .step("F11 again", Press("F11"), [&] { return !dialog.ShowsFullScreen(); })
      .step("click the picture again", Click(dialog.VideoArea()),
            [&] { return wxWindow::FindFocus() == dialog.VideoArea(); })
      .step("l opens the large map", Press("l"),
            [&] { return dialog.RouteMaps().BigMap() && dialog.RouteMaps().BigMap()->IsShown(); })
      .step("Escape closes it", Press("Escape"),
            [&] { return !dialog.RouteMaps().BigMap()->IsShown(); })
      .step("F1 shows the About box", Press("F1"), aboutShown)
      .step("Escape closes it", Press("Escape"), [&] { return !aboutShown(); })
      .step("still running", nullptr, after(300))
      .step("Escape exits", Press("Escape"));
  Run(script, wxID_CANCEL);
}

// The playlist keeps its arrows; letters (the list finds no entries by
// typing) and Space are still the window's.
TEST_F(CommandKeys, ThePlaylistKeepsItsArrows) {
  const int volume = player.volume;
  ASSERT_GT(volume, 0);
  ModalScript script;
  script.step("shown", nullptr, [&] { return dialog.IsShownOnScreen(); })
      .step(
          "click the first entry", [&] { testsupport::clickOn(*Playlist(), wxPoint(40, 8)); },
          [&] { return Playlist()->GetSelection() == 0 && Playlist()->HasFocus(); })
      .step("Down moves the selection", Press("Down"),
            [&] { return Playlist()->GetSelection() == 1 && player.volume == volume; })
      .step("Page Up moves it too", Press("Prior"),
            [&] { return Playlist()->GetSelection() == 0 && player.playState == Idle; })
      .step("End", Press("End"), [&] { return Playlist()->GetSelection() == 1; })
      .step("m mutes", Press("m"), [&] { return player.volume == 0; })
      .step(
          "Space plays the selected entry", Press("space"), [&] { return PlayingFile("b.mp4"); },
          8000)
      .step("exit", Click(dialog.FindWindow(IDOK_EXIT)));
  Run(script, wxID_OK);
}

// The seek keys land on the picture at the time asked for (30 pictures a
// second, a key picture every 2 s), the slider and the elapsed time follow;
// comma and period step one picture, pausing first.
TEST_F(CommandKeys, SeekAndStepKeysLandOnExactPictures) {
  int paused = -1;
  ModalScript script;
  FocusThePicture(script)
      .step(
          "Space plays", Press("space"), [&] { return PlayingFile("a.mp4") && Number() >= 10; },
          8000)
      .step("period pauses and steps", Press("period"),
            [&] {
              paused = Number();
              return player.playState == Paused &&
                     dialog.FindWindow(IDC_PLAY)->GetLabel() == "Resume";
            })
      .step("Home: the first picture", Press("Home"), PausedAt(0))
      .step("Right: 5 s on", Press("Right"), PausedAt(150))
      .step("Shift+Right: 1 s on", Press("shift+Right"), PausedAt(180))
      .step("Ctrl+Left: back to the start", Press("ctrl+Left"), PausedAt(0))
      .step("Ctrl+Right: to the last picture", Press("ctrl+Right"), PausedAt(299))
      .step("Left: 5 s back", Press("Left"), PausedAt(149))
      .step("Shift+Left: 1 s back", Press("shift+Left"), PausedAt(119))
      .step("period: across the key picture", Press("period"), PausedAt(120))
      .step("comma", Press("comma"), PausedAt(119))
      .step("comma again", Press("comma"), PausedAt(118))
      .step("End", Press("End"), PausedAt(299))
      .step("still paused there", nullptr,
            [&, still = after(400)] { return still() && PausedAt(299)(); })
      .step("exit", Click(dialog.FindWindow(IDOK_EXIT)));
  Run(script, wxID_OK);
  EXPECT_GE(paused, 10);
}

// Quick presses of a step key step one picture each, also those that come
// while the step before is still on its way (a step back decodes from the
// key picture). A held key steps while it is down, but its repeats that come
// while a step is on its way are dropped, so the picture stops soon after
// the key comes up. (The script's actions run on the window's thread: xdotool
// has sent every key before the window takes the first.)
TEST_F(CommandKeys, EveryPressOfAStepKeyStepsAndAHeldKeyStopsWhenReleased) {
  const int volume = player.volume;
  ASSERT_GE(volume, 4 * CVantrelDlg::kVolumeStep);
  int held = -1;
  ModalScript script;
  FocusThePicture(script)
      .step(
          "Space plays", Press("space"), [&] { return PlayingFile("a.mp4") && Number() >= 10; },
          8000)
      .step("period pauses", Press("period"), [&] { return player.playState == Paused; })
      .step("End", Press("End"), PausedAt(299))
      .step("Left: 5 s back", Press("Left"), PausedAt(149))
      .step("Shift+Left: 1 s back", Press("shift+Left"), PausedAt(119))
      .step(
          "comma pressed five times",
          [] { testsupport::xdotool("key --delay 0 comma comma comma comma comma"); },
          PausedAt(114), 8000)
      // X repeats a held key (after 660 ms, 25 a second): the volume key
      // shows the repeats arrive, each a step down.
      .step(
          "Down held for a second", [] { testsupport::xdotool("keydown Down sleep 1 keyup Down"); },
          [&] { return player.volume <= volume - 3 * CVantrelDlg::kVolumeStep; })
      .step(
          "comma held for a second",
          [] { testsupport::xdotool("keydown comma sleep 1 keyup comma"); },
          // Settled: the same picture for a second, no step left to go.
          [&, still = std::function<bool()>()]() mutable {
            if (Number() != held || !still) {
              held = Number();
              still = after(1000);
            }
            return still() && !player.seeks.pending() && PausedAt(held)();
          },
          8000)
      .step("comma once more", Press("comma"), [&] { return PausedAt(held - 1)(); })
      .step("exit", Click(dialog.FindWindow(IDOK_EXIT)));
  Run(script, wxID_OK);
  // At least the press that went down; far fewer than the presses X sent.
  EXPECT_LT(held, 114);
  EXPECT_GT(held, 110);
}
