// Drives in the real window: the scan of an opened folder with its progress
// bar, the large map's drives panel, chart and route clicks, "Recordings
// here", the export of a drive, and the next clip of a drive following
// without the idle look in between.
#include <gtest/gtest.h>
#include <wx/choice.h>
#include <wx/listctrl.h>
#include <wx/stattext.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>

#include "TempFolder.h"
#include "app/ControlTable.h"
#include "app/DrivesPanel.h"
#include "app/LanguageTable.h"
#include "app/ScanProgress.h"
#include "app/VantrelDlg.h"
#include "app/VideoPanel.h"
#include "engine/PlayerState.h"
#include "library/CivilTime.h"
#include "library/LibraryRecords.h"
#include "map/BigMap.h"
#include "map/MapPages.h"
#include "map/MapTestSupport.h"
#include "support/ModalScript.h"
#include "support/RealInput.h"
#include "support/RunCommand.h"
#include "widgets/DriveChart.h"
#include "widgets/WidgetShot.h"

using namespace vantrel;
using testsupport::evaluate;
namespace fs = std::filesystem;

namespace {

const std::string kMakeDrive = std::string(VANTREL_SOURCE_DIR) + "/tests/fixtures/make-drive ";

// Three clips of 4 s (one drive), two of another drive an hour later, and a
// file that is no recording.
void makeTwoDrives(const testsupport::TempFolder& folder) {
  const std::string dir = testsupport::shellQuoted(folder.path().string());
  ASSERT_EQ(testsupport::runCommand(kMakeDrive + dir + " 3 4").status, 0);
  ASSERT_EQ(
      testsupport::runCommand(kMakeDrive + dir + " 2 4 --start 20240501_083005 --seed 3").status,
      0);
  folder.write("broken.mp4", std::string(4096, 'x'));
}

// HOME in a fresh folder for as long as it lives: the window reads its user
// folder once, when it is made, and keeps the language chosen there.
struct ScopedHome {
  ScopedHome() {
    if (const char* home = std::getenv("HOME")) saved = home;
    setenv("HOME", folder.path().c_str(), 1);
  }
  ~ScopedHome() { setenv("HOME", saved.c_str(), 1); }
  std::string saved;
  testsupport::TempFolder folder;
};

class DrivesWindow : public testing::Test {
 protected:
  void SetUp() override {
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    setenv(kMapTilesVariable, "none", 1);
    dialog.Show();
  }
  void TearDown() override { dialog.RouteMaps().CloseBigMap(); }

  // Opens folder and waits for its scan.
  void OpenAndScan(const fs::path& folder, size_t clips) {
    dialog.OpenFolder(folder.string());
    ASSERT_TRUE(testsupport::pumpUntil(
        [&] {
          return !dialog.Library().Scanning() && dialog.Library().Contents().clips.size() == clips;
        },
        60000));
    testsupport::pumpFor(50);
  }
  wxString status() {
    return static_cast<wxStaticText*>(dialog.FindWindow(IDC_STATUS))->GetLabel();
  }
  std::string path(const char* name) { return (folder.path() / name).string(); }
  void OpenBigMap() {
    wxCommandEvent click(wxEVT_BUTTON, IDC_BIG_MAP);
    dialog.GetEventHandler()->ProcessEvent(click);
    ASSERT_TRUE(testsupport::waitForPage(dialog.RouteMaps().BigMap()->Browser()));
    testsupport::pumpFor(100);
  }
  // A point of clip, secondsIn: its fix in the library.
  const ClipPoint& pointOf(const char* name, int secondsIn) {
    return dialog.Library().ClipOf(path(name))->points.at(static_cast<size_t>(secondsIn));
  }

  ScopedHome home;  // before the window, which reads it when made
  testsupport::ScopedTimeZone utc{"UTC0"};
  testsupport::TempFolder folder;
  PlayerState player;
  CVantrelDlg dialog{player};
};

}  // namespace

TEST_F(DrivesWindow, OpeningAFolderScansItIntoDrivesBehindAProgressBar) {
  makeTwoDrives(folder);
  dialog.OpenFolder(folder.path().string());
  CScanProgress* bar = dialog.ScanProgressBar();
  ASSERT_NE(bar, nullptr);
  EXPECT_TRUE(bar->IsShown());
  EXPECT_EQ(bar->GaugeRange(), 6);
  ASSERT_TRUE(testsupport::pumpUntil([&] { return !bar->IsShown(); }, 60000));
  EXPECT_EQ(status(), "Drives: 2, clips: 6, 1 could not be read");
  const LibraryContents& contents = dialog.Library().Contents();
  ASSERT_EQ(contents.drives.size(), 2u);
  EXPECT_EQ(contents.drives[0].clips.size(), 3u);
  EXPECT_EQ(contents.drives[0].startMs, *utcMsOf({2024, 5, 1, 7, 30, 5}));
  EXPECT_EQ(contents.read, 6u);

  // Opened again, the folder comes from the index.
  dialog.OpenFolder(folder.path().string());
  ASSERT_TRUE(testsupport::pumpUntil([&] { return !bar->IsShown(); }, 60000));
  EXPECT_EQ(dialog.Library().Contents().read, 0u);
  EXPECT_EQ(dialog.Library().Contents().drives.size(), 2u);
}

TEST_F(DrivesWindow, ATenThousandFileFolderStaysResponsiveAndCancellingKeepsWhatWasRead) {
  // Ten thousand names for one short recording.
  const fs::path clip = fs::path(VANTREL_FIXTURES) / "play-silent.mp4";
  for (int i = 0; i < 10000; ++i) {
    fs::create_hard_link(clip, folder.path() / ("card" + std::to_string(i) + ".mp4"));
  }
  dialog.OpenFolder(folder.path().string());
  CScanProgress* bar = dialog.ScanProgressBar();
  const auto cancelAfter = [&](size_t count) {
    ASSERT_TRUE(testsupport::pumpUntil([&] { return dialog.Library().Done() >= count; }, 60000));
    // The bar's own Cancel button.
    wxCommandEvent cancel(wxEVT_BUTTON, wxID_CANCEL);
    cancel.SetEventObject(bar->FindWindow(wxID_CANCEL));
    bar->FindWindow(wxID_CANCEL)->GetEventHandler()->ProcessEvent(cancel);
  };
  // The bar lies over the black video and stays readable: dark text on a
  // light face.
  ASSERT_TRUE(testsupport::pumpUntil([&] { return dialog.Library().Done() >= 20; }, 60000));
  const wxImage shot = widgettest::grabClientArea(bar, "scan-progress");
  ASSERT_TRUE(shot.IsOk());
  const wxImage words = shot.GetSubImage(wxRect(0, 0, shot.GetWidth() / 4, shot.GetHeight()));
  int darkest = 255, lightPixels = 0;
  for (int y = 0; y < words.GetHeight(); ++y) {
    for (int x = 0; x < words.GetWidth(); ++x) {
      const int grey = (words.GetRed(x, y) + words.GetGreen(x, y) + words.GetBlue(x, y)) / 3;
      darkest = std::min(darkest, grey);
      if (grey > 180) ++lightPixels;
    }
  }
  EXPECT_GT(lightPixels, words.GetWidth() * words.GetHeight() / 2);
  EXPECT_LT(darkest, 100);
  cancelAfter(200);
  ASSERT_TRUE(testsupport::pumpUntil([&] { return !bar->IsShown(); }, 60000));
  const size_t read = dialog.Library().Contents().clips.size();
  EXPECT_TRUE(dialog.Library().Contents().cancelled);
  EXPECT_GE(read, 200u);
  EXPECT_LT(read, 10000u);
  EXPECT_NE(status().Find("cancelled"), wxNOT_FOUND);

  // What was read stays indexed: opened again, the clips read before come
  // from the index and the scan reads on from there, while the window's loop
  // runs: the bar moves through several counts (however fast the reading,
  // the folder is far too large to be read within three of its ticks).
  dialog.OpenFolder(folder.path().string());
  std::set<int> seen;
  ASSERT_TRUE(testsupport::pumpUntil(
      [&] {
        seen.insert(bar->GaugeValue());
        return seen.size() >= 3 && dialog.Library().Done() >= read + 200;
      },
      60000))
      << "the bar showed " << seen.size() << " counts";
  cancelAfter(read + 200);
  ASSERT_TRUE(testsupport::pumpUntil([&] { return !bar->IsShown(); }, 60000));
  const LibraryContents& again = dialog.Library().Contents();
  EXPECT_GE(again.clips.size(), read + 200);
  EXPECT_EQ(again.read, again.clips.size() - read);
}

TEST_F(DrivesWindow, TheLargeMapListsTheDrivesAndPlaysWhereItsRouteIsClicked) {
  makeTwoDrives(folder);
  OpenAndScan(folder.path(), 6);
  OpenBigMap();
  CDrivesPanel* panel = dialog.DrivesPanel();
  ASSERT_NE(panel, nullptr);
  wxListCtrl* list = panel->List();
  ASSERT_EQ(list->GetItemCount(), 3);  // two drives, then the unreadable file
  EXPECT_EQ(list->GetItemText(0, 0), "2024-05-01");
  EXPECT_EQ(list->GetItemText(0, 1), wxString::FromUTF8("07:30\u201307:30"));
  EXPECT_EQ(list->GetItemText(0, 2), "3");
  EXPECT_EQ(list->GetItemText(2, 0), "unreadable");
  EXPECT_EQ(list->GetItemText(2, 1), "broken.mp4");

  // Choosing a drive in the list draws its whole route and its chart.
  list->SetItemState(0, wxLIST_STATE_SELECTED, wxLIST_STATE_SELECTED);
  testsupport::pumpFor(100);
  ASSERT_EQ(dialog.ChosenDrive(), 0u);
  CExplorer1& page = dialog.RouteMaps().BigMap()->Browser();
  EXPECT_EQ(evaluate(page, "vantrelMap.drive.getLatLngs().length"), "3");
  EXPECT_EQ(evaluate(page, "vantrelMap.drive.getLatLngs()[1].length"), "4");
  CDriveChart* chart = dialog.DriveChart();
  ASSERT_EQ(chart->Lanes().size(), 1u);  // these tracks carry speed only
  EXPECT_EQ(chart->Lanes()[0].unit, "km/h");
  testsupport::saveScreenshot("drives-panel");

  // Another language: the panel, its rows and the chart follow at once.
  auto* languages = static_cast<wxChoice*>(dialog.FindWindow(IDC_LANGUAGE));
  languages->SetSelection(kGerman);
  wxCommandEvent chosen(wxEVT_CHOICE, IDC_LANGUAGE);
  chosen.SetEventObject(languages);
  dialog.GetEventHandler()->ProcessEvent(chosen);
  wxListItem heading;
  heading.SetMask(wxLIST_MASK_TEXT);
  ASSERT_TRUE(list->GetColumn(4, heading));
  EXPECT_EQ(heading.GetText(), "Max. Geschw.");
  EXPECT_EQ(list->GetItemText(2, 0), "nicht lesbar");
  EXPECT_EQ(chart->Lanes()[0].title, "Geschwindigkeit");
  EXPECT_EQ(panel->Status(), "Fahrten: 2, Clips: 6, 1 nicht lesbar");
  EXPECT_EQ(dialog.ChosenDrive(), 0u);

  // A click on the route at the second clip's third second plays it from there.
  const ClipPoint& p = pointOf("20240501_073009.mp4", 3);
  dialog.OnBigMapMessage(wxString::Format("route %.6f %.6f", p.latitude, p.longitude));
  ASSERT_TRUE(testsupport::pumpUntil(
      [&] {
        return player.getFileName() == path("20240501_073009.mp4") && player.playState == Playing &&
               player.elapsedSeconds >= 3;
      },
      20000));
  EXPECT_TRUE(testsupport::pumpUntil([&] { return chart->CursorTime() >= 7.0; }, 5000));

  // The chart's click: second 1 of the drive is in its first clip.
  dialog.PlayMoment(*dialog.Library().MomentOf(0, 1000));
  EXPECT_TRUE(testsupport::pumpUntil(
      [&] {
        return player.getFileName() == path("20240501_073005.mp4") && player.playState == Playing;
      },
      20000));
}

// As a user does it, with the window in its real modal loop: the large map
// takes real clicks on the drives list, the chart and the route, a
// right-click opens "Recordings here", and once the map is closed the keys
// are the main window's again.
TEST_F(DrivesWindow, TheLargeMapTakesRealClicksWhileTheWindowRunsModally) {
  makeTwoDrives(folder);
  OpenAndScan(folder.path(), 6);
  dialog.Hide();  // shown again by the modal loop
  CBigMap* big = nullptr;
  wxListCtrl* list = nullptr;
  CDriveChart* chart = nullptr;
  // A fix's place on the large map's page, in its browser's pixels.
  const auto onMap = [&](const ClipPoint& p) {
    const std::string at = wxString::Format("[%.6f,%.6f]", p.latitude, p.longitude).utf8_string();
    const std::string x =
        evaluate(big->Browser(), "Math.round(vantrelMap.map.latLngToContainerPoint(" + at + ").x)");
    const std::string y =
        evaluate(big->Browser(), "Math.round(vantrelMap.map.latLngToContainerPoint(" + at + ").y)");
    return wxPoint(std::atoi(x.c_str()), std::atoi(y.c_str()));
  };
  const auto playingAt = [&](const char* name, int second) {
    return player.getFileName() == path(name) && player.playState == Playing && !player.opening &&
           player.elapsedSeconds >= second;
  };
  const int volume = player.volume;
  ASSERT_GT(volume, 0);
  testsupport::ModalScript script;
  script.step("shown", nullptr, [&] { return dialog.IsShownOnScreen(); })
      .step(
          "click the picture", [&] { testsupport::clickOn(*dialog.VideoArea()); },
          [&] { return wxWindow::FindFocus() == dialog.VideoArea(); })
      .step(
          "l opens the large map", [] { testsupport::pressKeys("l"); },
          [&] {
            big = dialog.RouteMaps().BigMap();
            return big && big->IsShownOnScreen() && big->Browser().Document() &&
                   dialog.DrivesPanel();
          },
          15000)
      .step("the panel laid out", nullptr, testsupport::after(300))
      .step(
          "click the first drive",
          [&] {
            list = dialog.DrivesPanel()->List();
            wxRect row;
            ASSERT_TRUE(list->GetItemRect(0, row));
            testsupport::clickOn(*list, wxPoint(row.x + 30, row.y + row.height / 2));
          },
          [&] { return dialog.ChosenDrive() == 0u; })
      .step("its route drawn", nullptr,
            [&] { return evaluate(big->Browser(), "vantrelMap.drive !== null") == "true"; })
      .step("the map settled", nullptr, testsupport::after(300))
      .step(
          "click the chart at second 5",
          [&] {
            chart = dialog.DriveChart();
            testsupport::clickOn(*chart, wxPoint(chart->XOf(5.5), chart->GetClientSize().y / 2));
          },
          [&] { return playingAt("20240501_073009.mp4", 1); }, 15000)
      .step(
          "click the route at the third clip's second 2",
          [&] {
            testsupport::clickOn(*big->Browser().Window(),
                                 onMap(pointOf("20240501_073013.mp4", 2)));
          },
          [&] { return playingAt("20240501_073013.mp4", 2); }, 15000)
      .step(
          "right-click the first clip's second 1",
          [&] {
            testsupport::moveMouseTo(
                big->Browser().Window()->ClientToScreen(onMap(pointOf("20240501_073005.mp4", 1))));
            testsupport::xdotool("click 3");
          },
          testsupport::after(800))
      .step(
          "choose the first of Recordings here",
          [] { testsupport::pressKeys("Down Right Return"); },
          [&] { return playingAt("20240501_073005.mp4", 1); }, 15000)
      .step(
          "click the exit button", [&] { testsupport::clickOn(*big->FindWindow(wxID_OK)); },
          [&] { return !big->IsShown(); })
      .step(
          "m mutes: the keys are the main window's", [] { testsupport::pressKeys("m"); },
          [&] { return player.volume == 0; })
      .step("exit", [&] { testsupport::clickOn(*dialog.FindWindow(IDOK_EXIT)); });
  EXPECT_EQ(script.run(dialog), wxID_OK);
  EXPECT_EQ(script.unfinished(), "");
}

TEST_F(DrivesWindow, RecordingsHereListsEveryPassAndExportWritesTheDrive) {
  makeTwoDrives(folder);
  OpenAndScan(folder.path(), 6);
  const ClipPoint& p = pointOf("20240501_073013.mp4", 2);
  const auto items = dialog.RecordingsHereItems(p.latitude, p.longitude);
  ASSERT_FALSE(items.empty());
  EXPECT_EQ(items[0].second.path, path("20240501_073013.mp4"));
  EXPECT_NEAR(static_cast<double>(items[0].second.offsetMs), 2000, 100);
  EXPECT_TRUE(items[0].first.StartsWith("20240501_073013.mp4 at 00:00:02 (2024-05-01 07:30:15)"))
      << items[0].first;
  EXPECT_TRUE(dialog.RecordingsHereItems(0, 0).empty());

  OpenBigMap();
  const fs::path gpx = folder.path() / "out/drive.gpx";
  fs::create_directories(gpx.parent_path());
  ASSERT_TRUE(dialog.ExportDriveTo(0, gpx.string()));
  EXPECT_EQ(dialog.DrivesPanel()->Status(), "Exported to " + wxString::FromUTF8(gpx.string()));
  const testsupport::CommandOutput read =
      testsupport::runCommand("gpsbabel -t -i gpx -f " + testsupport::shellQuoted(gpx.string()) +
                              " -o unicsv -F - | wc -l");
  EXPECT_EQ(read.out, "13\n");  // the header and 3 x 4 points
  EXPECT_FALSE(dialog.ExportDriveTo(0, (folder.path() / "broken.mp4/x.gpx").string()));
  EXPECT_TRUE(dialog.DrivesPanel()->Status().StartsWith("Not exported: cannot write"));
}

TEST_F(DrivesWindow, TheNextClipOfADriveFollowsWithoutTheIdleLookAndSkipsTheRearCamera) {
  ASSERT_EQ(testsupport::runCommand(kMakeDrive + testsupport::shellQuoted(folder.path().string()) +
                                    " 3 2")
                .status,
            0);
  // Each clip as a front and rear pair: the rear files are listed between
  // the fronts, and only the fronts play.
  for (const char* stem : {"20240501_073005", "20240501_073007", "20240501_073009"}) {
    const fs::path base = folder.path() / stem;
    for (const char* ext : {".mp4", ".TXT"}) {
      fs::copy_file(base.string() + ext, base.string() + "_R" + ext);
      fs::rename(base.string() + ext, base.string() + "_F" + ext);
    }
  }
  OpenAndScan(folder.path(), 6);
  ASSERT_EQ(dialog.Library().Contents().drives.size(), 1u);
  ASSERT_TRUE(testsupport::waitForPage(dialog.SmallMap()));
  testsupport::recordMapCalls(dialog.SmallMap());
  wxCommandEvent play(wxEVT_BUTTON, IDC_PLAY);
  dialog.GetEventHandler()->ProcessEvent(play);

  std::vector<std::string> played;
  bool started = false, idleLook = false, loadingShown = false;
  ASSERT_TRUE(testsupport::pumpUntil(
      [&] {
        const std::string file = fs::path(player.getFileName()).filename().string();
        if (player.playState == Playing && (played.empty() || played.back() != file))
          played.push_back(file);
        // Between the clips of the drive, once the first has the playing look.
        started = started ||
                  dialog.FindWindow(IDC_PLAY)->GetLabel() == dialog.LanguageText(kSlotPlayPlaying);
        if (started && played.size() < 3) {
          idleLook = idleLook || dialog.FindWindow(IDC_PLAY)->GetLabel() ==
                                     dialog.LanguageText(kSlotPlayStopped);

          loadingShown =
              loadingShown || (played.size() > 1 && dialog.FindWindow(IDC_LOADING)->IsShown());
        }
        return played.size() == 3 && player.elapsedSeconds >= 1;
      },
      30000));
  EXPECT_EQ(played, (std::vector<std::string>{"20240501_073005_F.mp4", "20240501_073007_F.mp4",
                                              "20240501_073009_F.mp4"}));
  EXPECT_FALSE(idleLook);
  EXPECT_FALSE(loadingShown);
  // One route for the whole drive on the small map, drawn once.
  EXPECT_EQ(
      evaluate(dialog.SmallMap(),
               "mapCalls.filter(function (c) { return c.indexOf('mapinitialize') === 0; }).length"),
      "1");
  EXPECT_EQ(evaluate(dialog.SmallMap(), "vantrelMap.route.length"), "6");
  wxCommandEvent stop(wxEVT_BUTTON, IDC_STOP);
  dialog.GetEventHandler()->ProcessEvent(stop);
  ASSERT_TRUE(testsupport::pumpUntil([&] { return player.playState == Idle; }, 10000));
}
