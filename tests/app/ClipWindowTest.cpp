// Saving a clip from the window: marks set at the picture shown, the save
// with its progress bar, and what the status line says.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "TempFolder.h"
#include "app/ControlTable.h"
#include "app/VantrelDlg.h"
#include "app/VideoPanel.h"
#include "engine/PlayerState.h"
#include "support/MediaProbe.h"
#include "support/WxTestSupport.h"

using namespace vantrel;
namespace fs = std::filesystem;

namespace {

// Each test in a fresh current directory, whose VideoScreenshot folder takes
// the clips.
class ClipWindow : public testing::Test {
 protected:
  void SetUp() override {
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    previous_ = fs::current_path();
    fs::current_path(folder_.path());
    dialog_.Show();
  }
  void TearDown() override { fs::current_path(previous_); }

  void click(int id) {
    wxCommandEvent event(wxEVT_BUTTON, id);
    event.SetEventObject(dialog_.FindWindow(id));
    dialog_.GetEventHandler()->ProcessEvent(event);
  }
  // The picture on screen belongs to this playback and lies at or past t.
  bool showing(double t) {
    const auto frame = dialog_.VideoArea()->CurrentFrame();
    return frame && frame->generation == player_.generation && frame->time >= t;
  }
  // Plays numbered.MOV until its picture at `t` or later shows, then pauses.
  double pauseAt(double t) {
    if (player_.playState == Idle) {
      EXPECT_TRUE(dialog_.OpenDroppedFile(std::string(VANTREL_FIXTURES) + "/numbered.MOV"));
    } else if (player_.playState == Paused) {
      click(IDC_PLAY);
    }
    EXPECT_TRUE(testsupport::pumpUntil([&] { return showing(t); }, 10000));
    click(IDC_PLAY);            // pause
    testsupport::pumpFor(200);  // the picture in hand is shown
    return dialog_.VideoArea()->CurrentFrame()->time;
  }
  wxString status() { return dialog_.FindWindow(IDC_STATUS)->GetLabel(); }
  std::vector<std::string> saved() const {
    std::vector<std::string> names;
    const fs::path clips = folder_.path() / "VideoScreenshot";
    if (fs::is_directory(clips)) {
      for (const auto& entry : fs::directory_iterator(clips)) {
        names.push_back(entry.path().filename().string());
      }
    }
    return names;
  }

  testsupport::TempFolder folder_;
  fs::path previous_;
  PlayerState player_;
  CVantrelDlg dialog_{player_};
};

TEST_F(ClipWindow, MarksThePictureShownAndSavesFromTheKeyframeBeforeIt) {
  const double in = pauseAt(3.0);
  dialog_.MarkClipIn();
  ASSERT_EQ(dialog_.ClipIn(), in);
  EXPECT_TRUE(status().StartsWith("Clip: from 00:00:03.")) << status();
  EXPECT_TRUE(status().EndsWith(" to the end (Ctrl+S saves it)")) << status();
  const double out = pauseAt(5.0);
  dialog_.MarkClipOut();
  ASSERT_EQ(dialog_.ClipOut(), out);

  dialog_.SaveClip();
  ASSERT_TRUE(
      testsupport::pumpUntil([&] { return !dialog_.ClipSaving() && status().StartsWith("Clip"); }));
  testsupport::pumpFor(100);
  const fs::path clip = folder_.path() / "VideoScreenshot" / "numbered_0m03s-0m05s.MOV";
  EXPECT_EQ(status(), "Clip saved: " + clip.string());
  const testsupport::MediaProbe probe = testsupport::probeMedia(clip.string());
  EXPECT_EQ(probe.streams.size(), 3u);
  EXPECT_EQ(probe.firstPictureNumber, 60);  // the keyframe at 2 s
  // The same span again: a new name, the first clip kept.
  dialog_.SaveClip();
  ASSERT_TRUE(testsupport::pumpUntil([&] { return status().Contains("_2.MOV"); }));
  EXPECT_EQ(saved().size(), 2u);
}

TEST_F(ClipWindow, WithoutMarksOrAFolderNothingIsSavedAndTheStatusSaysWhy) {
  pauseAt(1.0);
  dialog_.SaveClip();
  EXPECT_EQ(status(), "Clip not saved: mark its start with I and its end with O first");
  dialog_.MarkClipOut();
  std::ofstream(folder_.path() / "VideoScreenshot") << "a file where the folder should be";
  dialog_.SaveClip();
  EXPECT_TRUE(status().StartsWith("Clip not saved: cannot create ")) << status();
  EXPECT_FALSE(dialog_.ClipSaving());
  EXPECT_TRUE(fs::is_regular_file(folder_.path() / "VideoScreenshot"));
  // A new playback of the recording forgets the marks set in the last one.
  click(IDC_STOP);
  ASSERT_TRUE(testsupport::pumpUntil([&] { return player_.playState == Idle; }));
  pauseAt(0.5);
  fs::remove(folder_.path() / "VideoScreenshot");
  dialog_.SaveClip();
  EXPECT_EQ(status(), "Clip not saved: mark its start with I and its end with O first");
  EXPECT_TRUE(saved().empty());
}

}  // namespace
