#include <gtest/gtest.h>
#include <unistd.h>
#include <wx/control.h>
#include <wx/image.h>

#include <filesystem>
#include <fstream>
#include <random>

#include "app/ControlTable.h"
#include "app/VantrelDlg.h"
#include "app/VideoPanel.h"
#include "engine/PictureQueue.h"
#include "engine/PlayerState.h"
#include "engine/ShownPicture.h"
#include "engine/TestFrames.h"
#include "engine/YuvToBgr.h"
#include "support/WxTestSupport.h"

using namespace vantrel;
namespace fs = std::filesystem;

namespace {

std::shared_ptr<BgrFrame> randomFrame(int width, int height) {
  auto frame = std::make_shared<BgrFrame>();
  frame->width = width;
  frame->height = height;
  frame->stride = width * 3;
  frame->pixels.resize(size_t(frame->stride) * height);
  std::mt19937 rng(width);
  for (auto& byte : frame->pixels) byte = rng() & 0xFF;
  return frame;
}

// Runs each test in a fresh current directory and goes back afterwards. Its
// name holds an ampersand, which a label would take for a mnemonic.
class Screenshot : public testing::Test {
 protected:
  void SetUp() override {
    previous_ = fs::current_path();
    dir_ = fs::temp_directory_path() / ("vantrel-shot R&D-" + std::to_string(getpid()));
    fs::remove_all(dir_);
    fs::create_directories(dir_);
    fs::current_path(dir_);
  }
  void TearDown() override {
    fs::current_path(previous_);
    fs::remove_all(dir_);
  }
  std::vector<fs::path> savedFiles() const {
    std::vector<fs::path> files;
    if (fs::is_directory(dir_ / "VideoScreenshot"))
      for (const auto& entry : fs::directory_iterator(dir_ / "VideoScreenshot"))
        files.push_back(entry.path());
    return files;
  }
  fs::path previous_, dir_;
  PlayerState player;
};

TEST_F(Screenshot, SavesThePresentedPictureAndShowsItsPath) {
  CVantrelDlg dialog(player);
  auto frame = randomFrame(854, 480);
  dialog.VideoArea()->presentFrame(frame);
  player.playState = Playing;
  dialog.ShowPlaybackStarted();  // the playing look, with the button enabled

  dialog.TakeScreenshot();

  const auto files = savedFiles();
  ASSERT_EQ(files.size(), 1u);
  const std::string name = files[0].filename().string();
  EXPECT_EQ(name.rfind("BMP-", 0), 0u);
  EXPECT_EQ(fs::file_size(files[0]), 54u + 480u * 2564u);
  EXPECT_TRUE(dialog.FindWindow(IDC_STATUS)->IsShown());
  EXPECT_EQ(static_cast<wxControl*>(dialog.FindWindow(IDC_STATUS))->GetLabelText(),
            wxString::FromUTF8(files[0].string()));
  EXPECT_TRUE(dialog.FindWindow(IDC_SCREENSHOT)->IsEnabled());
  EXPECT_TRUE(dialog.CanTakeScreenshot());

  wxImage image;
  ASSERT_TRUE(image.LoadFile(files[0].string(), wxBITMAP_TYPE_BMP));
  for (int y = 0; y < 480; y += 53) {
    for (int x = 0; x < 854; x += 17) {
      const uint8_t* bgr = frame->row(y) + x * 3;
      ASSERT_EQ(image.GetBlue(x, y), bgr[0]) << x << "," << y;
      ASSERT_EQ(image.GetGreen(x, y), bgr[1]);
      ASSERT_EQ(image.GetRed(x, y), bgr[2]);
    }
  }
}

// The area may hold the picture at the size it shows it: the file still
// holds the recording's picture whole, every pixel as the decoded picture
// converts (what the screen showed of it was a twentieth at 4K).
TEST_F(Screenshot, APictureShownSmallerIsSavedWhole) {
  CVantrelDlg dialog(player);
  PictureQueue queue;
  videotest::FramePtr decoded = videotest::patternFrame(1280, 720, 5);
  ASSERT_TRUE(queue.store(decoded.get(), 0.0, 0));
  auto frame = std::make_shared<BgrFrame>();
  frame->width = 320;
  frame->height = 180;
  frame->stride = 320 * 3;
  frame->pixels.resize(320 * 3 * 180);
  convertShrunk(queue.planes(), *frame);
  frame->planes = queue.takePlanes();
  dialog.VideoArea()->presentFrame(frame);
  player.playState = Playing;
  dialog.ShowPlaybackStarted();

  dialog.TakeScreenshot();

  const auto files = savedFiles();
  ASSERT_EQ(files.size(), 1u);
  wxImage image;
  ASSERT_TRUE(image.LoadFile(files[0].string(), wxBITMAP_TYPE_BMP));
  ASSERT_EQ(image.GetSize(), wxSize(1280, 720));
  std::vector<uint8_t> expected(1280 * 720 * 3);
  convertYuvToBgrScalar(decoded->data[0], decoded->linesize[0], decoded->data[1], decoded->data[2],
                        decoded->linesize[1], expected.data(), 1280, 720, 1280 * 3);
  int wrong = 0;
  for (int y = 0; y < 720; ++y) {
    for (int x = 0; x < 1280; ++x) {
      const uint8_t* bgr = &expected[(y * 1280 + x) * 3];
      wrong += image.GetBlue(x, y) != bgr[0] || image.GetGreen(x, y) != bgr[1] ||
               image.GetRed(x, y) != bgr[2];
    }
  }
  EXPECT_EQ(wrong, 0);
}

TEST_F(Screenshot, DoesNothingUnlessPlaying) {
  CVantrelDlg dialog(player);
  dialog.VideoArea()->presentFrame(randomFrame(16, 16));
  dialog.FindWindow(IDC_SCREENSHOT)->Enable();
  for (int state : {Paused, Idle}) {
    player.playState = state;
    dialog.TakeScreenshot();
    EXPECT_TRUE(savedFiles().empty());
    EXPECT_FALSE(fs::exists(dir_ / "VideoScreenshot"));
    EXPECT_FALSE(dialog.FindWindow(IDC_STATUS)->IsShown());
    EXPECT_TRUE(dialog.FindWindow(IDC_SCREENSHOT)->IsEnabled());
  }
}

TEST_F(Screenshot, FailuresWriteNothingSayWhyAndReenableTheButton) {
  CVantrelDlg dialog(player);
  player.playState = Playing;
  dialog.ShowPlaybackStarted();  // the playing look, with the button enabled

  dialog.TakeScreenshot();  // playing, but no picture presented yet
  EXPECT_TRUE(savedFiles().empty());
  EXPECT_TRUE(dialog.FindWindow(IDC_STATUS)->GetLabel().StartsWith("Screenshot not saved"));
  EXPECT_TRUE(dialog.FindWindow(IDC_SCREENSHOT)->IsEnabled());

  // The folder cannot be made: a file already holds its name.
  fs::remove_all(dir_ / "VideoScreenshot");
  std::ofstream(dir_ / "VideoScreenshot") << "not a folder";
  dialog.VideoArea()->presentFrame(randomFrame(32, 32));
  dialog.TakeScreenshot();
  EXPECT_TRUE(fs::is_regular_file(dir_ / "VideoScreenshot"));
  EXPECT_TRUE(dialog.FindWindow(IDC_STATUS)->GetLabel().StartsWith("Screenshot not saved"));
  EXPECT_TRUE(dialog.FindWindow(IDC_SCREENSHOT)->IsEnabled());
  EXPECT_TRUE(dialog.CanTakeScreenshot());

  // Afterwards it works again.
  fs::remove(dir_ / "VideoScreenshot");
  dialog.TakeScreenshot();
  EXPECT_EQ(savedFiles().size(), 1u);

  // A new playback before its first picture: the area still shows the last
  // recording's picture, which is not this one's.
  player.generation++;
  dialog.TakeScreenshot();
  EXPECT_EQ(savedFiles().size(), 1u);
  EXPECT_EQ(dialog.FindWindow(IDC_STATUS)->GetLabel(), "Screenshot not saved: no picture yet");
}

// The path stays on the status line for the rest of the run: opening a
// folder keeps it, a folder that cannot be read says so over it, and a
// folder read after that brings the path back.
TEST_F(Screenshot, ThePathStaysWhenFoldersAreOpened) {
  CVantrelDlg dialog(player);
  dialog.Show();
  dialog.VideoArea()->presentFrame(randomFrame(16, 16));
  player.playState = Playing;
  dialog.TakeScreenshot();
  ASSERT_EQ(savedFiles().size(), 1u);
  const wxString path = wxString::FromUTF8(savedFiles()[0].string());
  auto* status = static_cast<wxControl*>(dialog.FindWindow(IDC_STATUS));
  struct Step {
    fs::path folder;
    bool readable;
  };
  for (const Step& step : {Step{dir_, true}, Step{dir_ / "missing", false}, Step{dir_, true}}) {
    dialog.OpenFolder(step.folder.string());
    EXPECT_TRUE(status->IsShown()) << step.folder;
    if (step.readable) {
      EXPECT_EQ(status->GetLabelText(), path) << step.folder;
    } else {
      EXPECT_TRUE(status->GetLabelText().StartsWith("Cannot read the folder " + dir_.string()))
          << status->GetLabelText();
    }
  }
}

}  // namespace
