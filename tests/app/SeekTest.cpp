// Seeking with the progress slider as a user does: real clicks on the
// slider and the buttons, the window in its real modal loop, a 10 s
// recording with a key picture every second and a GPS track.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <filesystem>

#include "TempFolder.h"
#include "app/ControlTable.h"
#include "app/VantrelDlg.h"
#include "app/VideoPanel.h"
#include "engine/PlayerState.h"
#include "map/MapTestSupport.h"
#include "support/ModalScript.h"
#include "support/RealInput.h"
#include "widgets/BitmapSlider.h"
#include "widgets/LEDDisplay.h"

using namespace vantrel;
namespace fs = std::filesystem;
using testsupport::ModalScript;

namespace {

class Seek : public testing::Test {
 protected:
  void SetUp() override {
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    fs::copy_file(fs::path(VANTREL_FIXTURES) / "seek.MOV", folder.path() / "drive.MOV");
    dialog.OpenFolder(folder.path().string());
  }

  CBitmapSlider& Progress() {
    return *static_cast<CBitmapSlider*>(dialog.FindWindow(IDC_PROGRESS));
  }
  // A real click on the progress slider at second s.
  void ClickProgressAt(int s) {
    testsupport::clickOn(Progress(), wxPoint(Progress().Track().pixelOf(s), 8));
  }
  void Click(int id) { testsupport::clickOn(*dialog.FindWindow(id)); }
  // The time of the picture on screen, -1 before the first.
  double Picture() {
    auto frame = dialog.VideoArea()->CurrentFrame();
    return frame ? frame->time : -1.0;
  }
  wxString TimeReadout() {
    return static_cast<CLEDDisplay*>(dialog.FindWindow(IDC_LED_TIME))->GetText();
  }
  // The picture on screen and the video clock belong to second `target`:
  // from the key picture at or before it (one a second) to a second on.
  bool Near(int64_t target) {
    return Picture() > target - 1.05 && Picture() < target + 1.0 &&
           player.videoClock < target + 1.5;
  }
  bool IsPlaying() {
    return player.playState == Playing && dialog.FindWindow(IDC_STOP)->IsEnabled();
  }
  void StartPlaying(ModalScript& script) {
    script.step("shown", nullptr, [&] { return dialog.IsShownOnScreen(); })
        .step(
            "map loaded", nullptr, [&] { return dialog.SmallMap().Document() != nullptr; }, 15000)
        .step(
            "play", [&] { Click(IDC_PLAY); }, [&] { return IsPlaying() && Picture() >= 1.0; },
            8000);
  }

  testsupport::TempFolder folder;
  PlayerState player;
  CVantrelDlg dialog{player};
};

}  // namespace

// Back from 75 % to 20 % while playing: the picture of the new position shows
// at once, not once the clock has passed the old position again.
TEST_F(Seek, BackwardsWhilePlayingShowsTheNewPositionAtOnce) {
  ModalScript script;
  StartPlaying(script);
  for (int round = 0; round < 4; ++round) {
    const std::string n = std::to_string(round);
    script
        .step(
            "forward " + n, [&] { ClickProgressAt(7); },
            [&] { return player.elapsedSeconds >= 6 && Near(player.elapsedSeconds); }, 3000)
        .step(
            "back " + n, [&] { ClickProgressAt(2); },
            [&] { return player.elapsedSeconds <= 2 && Near(player.elapsedSeconds); }, 1500);
  }
  script.step("exit", [&] { Click(IDOK_EXIT); });
  EXPECT_EQ(script.run(dialog), wxID_OK);
  EXPECT_EQ(script.unfinished(), "");
}

// Paused, a click on the slider moves the picture, the readouts, the map and
// the thumb there and stays paused; Resume plays on from there. The picture
// shown is the key picture at or before the target (one a second here).
TEST_F(Seek, WhilePausedShowsTheTargetAndResumesFromIt) {
  ModalScript script;
  StartPlaying(script);
  double paused = -1.0;
  int target = -1;
  double landed = -1.0;
  // The picture is the target's, and the readouts and the map follow it:
  // second t shows track entry t - 1, one a second from 07:30:05.
  const auto showsTarget = [&] {
    const int second = static_cast<int>(player.videoClock);
    return Picture() > target - 1.05 && Picture() < target + 0.05 && second >= target - 1 &&
           TimeReadout() == wxString::Format("07:30:%02d", 4 + second) &&
           Progress().GetPos() == target;
  };
  script
      .step(
          "pause", [&] { Click(IDC_PLAY); },
          [&] { return player.playState == Paused && player.paused; })
      .step("stands still", nullptr,
            [&, since = std::chrono::steady_clock::now()]() mutable {
              // A picture on its way when the pause came may still show.
              const auto now = std::chrono::steady_clock::now();
              if (Picture() != paused) {
                paused = Picture();
                since = now;
              }
              return now - since > std::chrono::milliseconds(400);
            })
      .step(
          "click near second 6",
          [&] {
            ClickProgressAt(6);
            target = -1;
          },
          [&] {
            if (target < 0 && player.elapsedSeconds >= 5) target = Progress().GetPos();
            return target >= 5 && showsTarget();
          },
          3000)
      .step("the map's travelled line follows", nullptr,
            [&] {
              return testsupport::evaluate(dialog.SmallMap(), "vantrelMap.travelled.length >= " +
                                                                  std::to_string(target - 2)) ==
                     "true";
            })
      .step(
          "still paused", [&] { landed = Picture(); },
          [&, still = testsupport::after(500)] {
            return still() && player.playState == Paused && Picture() == landed && showsTarget();
          })
      .step(
          "resume", [&] { Click(IDC_PLAY); },
          [&] { return IsPlaying() && Picture() > landed + 0.3 && Picture() < landed + 2.0; }, 3000)
      .step("exit", [&] { Click(IDOK_EXIT); });
  EXPECT_EQ(script.run(dialog), wxID_OK);
  EXPECT_EQ(script.unfinished(), "");
}
