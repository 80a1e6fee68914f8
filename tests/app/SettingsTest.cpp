#include <gtest/gtest.h>
#include <wx/choice.h>
#include <wx/stattext.h>

#include <fstream>
#include <sstream>

#include "app/ControlTable.h"
#include "app/Settings.h"
#include "app/TempFolder.h"
#include "app/VantrelDlg.h"
#include "engine/PlayerState.h"
#include "support/WxTestSupport.h"
#include "widgets/BitmapSlider.h"

using namespace vantrel;
using testsupport::TempFolder;

namespace {

std::string readFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

Settings changedSettings() {
  Settings s;
  s.tiles = "https://tiles.example.org/{z}/{x}/{y}.png?k={key}";
  s.tilesKey = " a key;with=odd \\ chars ";
  s.lastFolder = "/media/Kamera 1/Fahrten = März";
  s.volume = 0;
  s.speedUnit = 1;
  s.playbackSpeed = 0.25;
  return s;
}

void expectSame(const Settings& a, const Settings& b) {
  EXPECT_EQ(a.tiles, b.tiles);
  EXPECT_EQ(a.tilesKey, b.tilesKey);
  EXPECT_EQ(a.lastFolder, b.lastFolder);
  EXPECT_EQ(a.volume, b.volume);
  EXPECT_EQ(a.speedUnit, b.speedUnit);
  EXPECT_EQ(a.playbackSpeed, b.playbackSpeed);
}

}  // namespace

TEST(SettingsFile, PathFollowsTheConfigHomeElseTheHomeFolder) {
  EXPECT_EQ(settingsFilePath("/cfg", "/home/ann/"), "/cfg/vantrel/settings.ini");
  EXPECT_EQ(settingsFilePath("", "/home/ann/"), "/home/ann/.config/vantrel/settings.ini");
  EXPECT_EQ(settingsFilePath("relative/cfg", "/home/ann/"),
            "/home/ann/.config/vantrel/settings.ini");
  EXPECT_EQ(settingsFilePath("", ""), "");
}

TEST(SettingsFile, WhatIsSavedIsReadBackAndAMissingFileGivesTheDefaults) {
  TempFolder folder;
  const std::string path = (folder.path() / "new/vantrel/settings.ini").string();
  LoadedSettings none = loadSettings(path);
  expectSame(none.settings, Settings{});
  EXPECT_EQ(none.note, "");

  ASSERT_TRUE(saveSettings(path, changedSettings()));  // makes the folders
  LoadedSettings loaded = loadSettings(path);
  EXPECT_EQ(loaded.note, "");
  expectSame(loaded.settings, changedSettings());
}

TEST(SettingsFile, EntriesOfOtherVersionsSurviveASave) {
  TempFolder folder;
  const auto path = folder.write("settings.ini", "[player]\nvolume=20\nzoom=3\n[later]\nx=1\n");
  ASSERT_TRUE(saveSettings(path.string(), changedSettings()));
  const std::string text = readFile(path);
  EXPECT_NE(text.find("zoom=3"), std::string::npos) << text;
  EXPECT_NE(text.find("[later]\nx=1"), std::string::npos) << text;
  EXPECT_EQ(loadSettings(path.string()).settings.volume, 0);
}

TEST(SettingsFile, ADamagedFileIsSetAsideWholeAndTheDefaultsApply) {
  const std::string damaged[] = {
      std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16),  // some other file's bytes
      "[player]\nvolume=20\n\xff\xfe\n",                 // not UTF-8
      "[player]\nvolume=20\nthis line is no setting\n",
      "[player\nvolume=20\n",
      "[player]\n=20\n",
  };
  for (const std::string& content : damaged) {
    TempFolder folder;
    const auto path = folder.write("settings.ini", content);
    const LoadedSettings loaded = loadSettings(path.string());
    expectSame(loaded.settings, Settings{});
    EXPECT_NE(loaded.note.find("is damaged and was ignored"), std::string::npos) << loaded.note;
    // Nothing is lost: the file is kept under another name, byte for byte.
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_EQ(readFile(path.string() + ".damaged"), content);
  }
}

TEST(SettingsFile, AValueOutsideItsRangeKeepsItsDefaultAndIsNamed) {
  struct Case {
    std::string line;
    std::string named;
  };
  const Case cases[] = {
      {"[player]\nvolume=129", "player/volume=129"},
      {"[player]\nvolume=-1", "player/volume=-1"},
      {"[player]\nvolume=loud", "player/volume=loud"},
      {"[player]\nvolume=40x", "player/volume=40x"},
      {"[player]\nspeed_unit=furlongs", "player/speed_unit=furlongs"},
      {"[player]\nplayback_speed=3", "player/playback_speed=3"},
      {"[player]\nplayback_speed=8", "player/playback_speed=8"},
  };
  for (const Case& c : cases) {
    TempFolder folder;
    // A good value beside the bad one is still taken.
    const auto path = folder.write("settings.ini", "[map]\nkey=k\n" + c.line + "\n");
    const LoadedSettings loaded = loadSettings(path.string());
    Settings expected;
    expected.tilesKey = "k";
    expectSame(loaded.settings, expected);
    EXPECT_NE(loaded.note.find(c.named), std::string::npos) << c.line << " -> " << loaded.note;
    EXPECT_TRUE(std::filesystem::exists(path));  // not damaged
  }
}

TEST(SettingsFile, AnUnwritablePlaceFailsCleanly) {
  TempFolder folder;
  const auto blocker = folder.write("a-file");  // a file where the folder should be
  EXPECT_FALSE(saveSettings((blocker / "settings.ini").string(), Settings{}));
  EXPECT_FALSE(saveSettings("", Settings{}));
}

class SettingsWindow : public testing::Test {
 protected:
  void SetUp() override {
    if (const char* saved = std::getenv("XDG_CONFIG_HOME")) m_saved = saved;
    setenv("XDG_CONFIG_HOME", folder.path().c_str(), 1);
  }
  void TearDown() override { setenv("XDG_CONFIG_HOME", m_saved.c_str(), 1); }
  std::filesystem::path SettingsPath() const { return folder.path() / "vantrel/settings.ini"; }

  TempFolder folder;
  PlayerState player;
  std::string m_saved;
};

TEST_F(SettingsWindow, StartsWithTheSavedVolumeUnitAndSpeedAndSavesChanges) {
  folder.write("vantrel/settings.ini",
               "[player]\nvolume=40\nspeed_unit=mph\nplayback_speed=2\n");
  CVantrelDlg dialog(player);
  auto* unit = static_cast<wxChoice*>(dialog.FindWindow(IDC_SPEED_UNIT));
  auto* volume = static_cast<CBitmapSlider*>(dialog.FindWindow(IDC_VOLUME));
  EXPECT_EQ(unit->GetStringSelection(), "MPH");
  EXPECT_EQ(volume->GetPos(), 40);
  EXPECT_EQ(player.volume, 40);
  EXPECT_EQ(player.speed, 2.0);
  EXPECT_EQ(dialog.PlaybackSpeedLabel()->GetLabel(), wxString::FromUTF8("2×"));
  EXPECT_TRUE(dialog.PlaybackSpeedLabel()->IsShown());
  EXPECT_FALSE(dialog.FindWindow(IDC_STATUS)->IsShown());

  unit->SetSelection(0);
  wxCommandEvent chosen(wxEVT_CHOICE, IDC_SPEED_UNIT);
  dialog.GetEventHandler()->ProcessEvent(chosen);
  EXPECT_TRUE(dialog.SetPlaybackSpeed(1.5));
  EXPECT_FALSE(dialog.SetPlaybackSpeed(3.0));
  EXPECT_EQ(player.speed, 1.5);
  const Settings saved = loadSettings(SettingsPath().string()).settings;
  EXPECT_EQ(saved.speedUnit, 0);
  EXPECT_EQ(saved.volume, 40);
  EXPECT_EQ(saved.playbackSpeed, 1.5);
}

TEST_F(SettingsWindow, ADamagedFileIsNamedOnTheStatusLine) {
  folder.write("vantrel/settings.ini", std::string("\0\0garbage", 9));
  CVantrelDlg dialog(player);
  wxWindow* status = dialog.FindWindow(IDC_STATUS);
  EXPECT_TRUE(status->IsShown());
  EXPECT_NE(status->GetLabel().find("is damaged and was ignored"), wxString::npos)
      << status->GetLabel();
  EXPECT_EQ(player.volume, 80);
  // Opening a folder (as `vantrel FOLDER` does at start) keeps the note.
  dialog.OpenFolder(folder.path().string());
  EXPECT_TRUE(status->IsShown());
  EXPECT_NE(status->GetLabel().find("is damaged"), wxString::npos) << status->GetLabel();
}

TEST_F(SettingsWindow, OpeningAFolderRemembersIt) {
  const auto drive = folder.path() / "drive";
  std::filesystem::create_directories(drive);
  CVantrelDlg dialog(player);
  dialog.OpenFolder(drive.string());
  EXPECT_EQ(dialog.GetSettings().lastFolder, drive.string());
  EXPECT_EQ(loadSettings(SettingsPath().string()).settings.lastFolder, drive.string());
}
