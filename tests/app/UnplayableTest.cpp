// A recording that cannot be played, met as a user meets it: chosen in the
// playlist with real clicks and keys while another recording plays.
#include <gtest/gtest.h>
#include <wx/listbox.h>

#include <chrono>
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

using namespace vantrel;
namespace fs = std::filesystem;
using testsupport::ModalScript;

namespace {

// A file that cannot be played, and why the status line says so.
struct BadFile {
  const char* name;
  const char* fixture;
  const char* reason;
};

void PrintTo(const BadFile& file, std::ostream* out) {
  *out << file.fixture;
}

class Unplayable : public testing::TestWithParam<BadFile> {
 protected:
  void SetUp() override {
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    const fs::path fixtures(VANTREL_FIXTURES);
    fs::copy_file(fixtures / "seek.MOV", folder.path() / "a-drive.MOV");  // 10 s, a track
    fs::copy_file(fixtures / GetParam().fixture, folder.path() / "b-bad.mp4");
    fs::copy_file(fixtures / "notrack.MOV", folder.path() / "c-notrack.MOV");  // 2 s, no track
    // Another day: a drive of its own, not the next clip of the first one's.
    const fs::path notrack = folder.path() / "c-notrack.MOV";
    fs::last_write_time(notrack, fs::last_write_time(notrack) - std::chrono::hours(24 * 400));
    dialog.OpenFolder(folder.path().string());
  }

  wxListBox& Playlist() { return *static_cast<wxListBox*>(dialog.FindWindow(IDC_PLAYLIST)); }
  // Plays entry `index` as a user does: a click on the first entry, Down
  // to the entry, Enter.
  void PlayEntry(int index) {
    testsupport::clickOn(Playlist(), wxPoint(40, 8));
    for (int i = 0; i < index; ++i) testsupport::pressKeys("Down");
    testsupport::pressKeys("Return");
  }
  bool HasPicture() { return dialog.VideoArea()->CurrentFrame() != nullptr; }
  // The route's length, whether its travelled line has begun, whether the
  // start marker is unset. The line's length depends on how far playing got.
  std::string Route() {
    return testsupport::evaluate(dialog.SmallMap(),
                                 "[vantrelMap.route.length, vantrelMap.travelled.length > 0,"
                                 " vantrelMap.start === null].join()");
  }
  wxString Status() {
    return static_cast<wxControl*>(dialog.FindWindow(IDC_STATUS))->GetLabelText();
  }
  bool IsPlaying(const char* name) {
    return player.playState == Playing && player.getFileName().ends_with(name) &&
           dialog.FindWindow(IDC_STOP)->IsEnabled();
  }

  testsupport::TempFolder folder;
  PlayerState player;
  CVantrelDlg dialog{player};
};

}  // namespace

TEST_P(Unplayable, SaysWhyAndShowsTheIdleLookWithoutTheLastPictureOrRoute) {
  const wxString bad = wxString::FromUTF8((folder.path() / "b-bad.mp4").string());
  ModalScript script;
  script.step("shown", nullptr, [&] { return dialog.IsShownOnScreen(); })
      .step(
          "map loaded", nullptr, [&] { return dialog.SmallMap().Document() != nullptr; }, 15000)
      .step(
          "play the drive", [&] { PlayEntry(0); },
          [&] { return IsPlaying("a-drive.MOV") && HasPicture() && Route() == "10,true,false"; }, 8000)
      .step(
          "play the bad file", [&] { PlayEntry(1); },
          [&] {
            return player.playState == Idle && player.finished && !HasPicture() &&
                   Route() == "0,false,true" &&
                   Status() == "Cannot play " + bad + ": " + GetParam().reason;
          },
          8000)
      .step("the line stays", nullptr,
            [&, still = testsupport::after(300)] {
              return still() && dialog.FindWindow(IDC_STATUS)->IsShown() && !HasPicture();
            })
      .step(
          "play the drive again", [&] { PlayEntry(0); },
          [&] { return IsPlaying("a-drive.MOV") && HasPicture() && Route() == "10,true,false"; }, 8000)
      // A recording that plays mends the line: it says again what it said
      // before (the folder's scan tells of the unreadable file).
      .step("no more problem", nullptr,
            [&] {
              return !Status().StartsWith("Cannot play") &&
                     (Status().empty() || dialog.FindWindow(IDC_STATUS)->IsShown());
            })
      .step(
          "play the one without a track", [&] { PlayEntry(2); },
          [&] { return IsPlaying("c-notrack.MOV") && Route() == "0,false,true"; }, 8000)
      .step("exit", [&] { testsupport::clickOn(*dialog.FindWindow(IDOK_EXIT)); });
  EXPECT_EQ(script.run(dialog), wxID_OK);
  EXPECT_EQ(script.unfinished(), "");
}

INSTANTIATE_TEST_SUITE_P(
    BadFiles, Unplayable,
    testing::Values(BadFile{"garbage", "play-garbage.mp4",
                            "Invalid data found when processing input"},
                    BadFile{"empty", "bad-empty.mp4", "the file is empty"},
                    // a container that holds only sound
                    BadFile{"noPictures", "play-novideo.mp4", "it holds no pictures"}),
    [](const testing::TestParamInfo<BadFile>& info) { return std::string(info.param.name); });
