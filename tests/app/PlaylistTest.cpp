#include <gtest/gtest.h>
#include <wx/dnd.h>
#include <wx/listbox.h>

#include <algorithm>
#include <clocale>
#include <random>

#include "TempFolder.h"
#include "app/ControlTable.h"
#include "app/Playlist.h"
#include "app/VantrelDlg.h"
#include "engine/PlayerState.h"
#include "support/WxTestSupport.h"

using namespace vantrel;
namespace fs = std::filesystem;

namespace {

std::vector<std::string> entries(const Playlist& playlist) {
  std::vector<std::string> paths;
  for (int i = 0; i < playlist.Count(); ++i) paths.push_back(playlist.Path(i));
  return paths;
}

// First entry in list order that begins with prefix, ignoring ASCII case:
// the plain search the playlist's ordered one must agree with.
int linearFind(const std::vector<std::string>& list, const std::string& prefix) {
  auto lower = [](std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return std::tolower(c); });
    return s;
  };
  for (size_t i = 0; i < list.size(); ++i) {
    if (lower(list[i]).starts_with(lower(prefix))) return int(i);
  }
  return -1;
}

}  // namespace

TEST(PlaylistRules, RecordingExtensionsAreExactlyTheLastFourCharacters) {
  const std::pair<const char*, bool> cases[] = {
      {"/d/a.avi", true},      {"/d/a.AVI", true},  {"/d/a.mov", true},     {"/d/a.MOV", true},
      {"/d/a.mp4", true},      {"/d/a.MP4", true},  {"/d/a.Mp4", false},    {"/d/c.Mov", false},
      {"/d/a.mp4.txt", false}, {"/d/a.mkv", false}, {"/d/x.mp4.avi", true}, {".avi", true},
      {"avi", false},          {"", false},         {"/d/amp4", false}};
  for (auto [path, expected] : cases) EXPECT_EQ(hasRecordingExtension(path), expected) << path;
}

TEST(PlaylistRules, DropsOfPicturesAndRealMediaAreIgnoredAnywhereInThePath) {
  const std::pair<const char*, bool> cases[] = {
      {"/d/photo.bmp", true}, {"/d/clip.rmvb", true},    {"/d/maps.png.d/clip.mp4", true},
      {"/d/a.bmp.mp4", true}, {"/d/clip.MKV", false},    {"/d/photo.BMP", false},
      {"/d/clip.mp4", false}, {"/d/bmp/clip.avi", false}};
  for (auto [path, expected] : cases) EXPECT_EQ(isIgnoredDrop(path), expected) << path;
}

TEST(PlaylistRules, AnIndexOutsideTheListMeansTheFirstEntry) {
  const std::tuple<int, int, int> cases[] = {{0, 3, 0}, {2, 3, 2},  {3, 3, 0},
                                             {4, 3, 0}, {-1, 3, 0}, {0, 1, 0}};
  for (auto [index, count, expected] : cases) {
    EXPECT_EQ(clampPlaylistIndex(index, count), expected) << index << " of " << count;
  }
}

TEST(PlaylistListing, TakesTheRecordingsDirectlyInTheFolder) {
  testsupport::TempFolder folder;
  for (const char* name : {"b.MP4", "a.avi", "c.Mov", "d.txt", "sub/e.mp4"}) folder.write(name);
  fs::create_directory(folder.path() / "trip.mp4");  // a folder named like a recording
  FolderListing listing = listRecordings(folder.path().string());
  ASSERT_FALSE(listing.error);
  std::sort(listing.paths.begin(), listing.paths.end());
  const std::string dir = folder.path().string();
  EXPECT_EQ(listing.paths, (std::vector<std::string>{dir + "/a.avi", dir + "/b.MP4"}));
}

TEST(PlaylistListing, AFolderThatCannotBeReadIsAnError) {
  testsupport::TempFolder folder;
  const fs::path file = folder.write("plain.mp4");
  for (const fs::path& path : {folder.path() / "missing", file}) {
    const FolderListing listing = listRecordings(path.string());
    EXPECT_TRUE(listing.error) << path;
    EXPECT_TRUE(listing.paths.empty());
  }
}

TEST(PlaylistOrder, EntriesSortWithoutRegardToCase) {
  Playlist playlist;
  for (const char* path : {"/d/B.avi", "/d/c.mp4", "/d/a.MOV", "/d/A2.avi"})
    playlist.AddOrFind(path);
  EXPECT_EQ(entries(playlist),
            (std::vector<std::string>{"/d/a.MOV", "/d/A2.avi", "/d/B.avi", "/d/c.mp4"}));
}

// Collation in LC_COLLATE for the life of the object, then back.
class ScopedCollation {
 public:
  explicit ScopedCollation(const char* locale) : m_previous(setlocale(LC_COLLATE, nullptr)) {
    m_active = setlocale(LC_COLLATE, locale) != nullptr;
  }
  ~ScopedCollation() { setlocale(LC_COLLATE, m_previous.c_str()); }
  bool active() const { return m_active; }

 private:
  std::string m_previous;
  bool m_active = false;
};

// The user's locale orders the list. In English punctuation weighs less than
// letters and digits, and an a with diaeresis sorts with the a's.
TEST(PlaylistOrder, EntriesFollowTheCollationOfTheLocale) {
  ScopedCollation english("en_US.UTF-8");
  ASSERT_TRUE(english.active()) << "scripts/setup makes this locale";
  Playlist playlist;
  for (const char* path : {"/d/Beta.avi", "/d/Alpha-2.mp4", "/d/\xc3\xa4lpha3.mp4",
                           "/d/alpha_1.MOV", "/d/alpha 0.avi"}) {
    playlist.AddOrFind(path);
  }
  EXPECT_EQ(entries(playlist),
            (std::vector<std::string>{"/d/alpha 0.avi", "/d/alpha_1.MOV", "/d/Alpha-2.mp4",
                                      "/d/\xc3\xa4lpha3.mp4", "/d/Beta.avi"}));
  // Matching a path stays a plain comparison without regard to case.
  EXPECT_EQ(playlist.FindPrefix("/D/ALPHA-"), 2);
  EXPECT_EQ(playlist.FindPrefix("/d/alpha_"), 1);
}

TEST(PlaylistOrder, AnEntryBeginningWithThePathIsSelectedInsteadOfAdded) {
  Playlist playlist;
  EXPECT_TRUE(playlist.AddOrFind("/d/x.mp4.avi").added);
  const Playlist::Placement placement = playlist.AddOrFind("/D/X.MP4");
  EXPECT_FALSE(placement.added);
  EXPECT_EQ(placement.index, 0);
  EXPECT_EQ(playlist.Count(), 1);
  EXPECT_EQ(playlist.FindPrefix("/d/y"), -1);
}

// One folder's files in the order the file system gives them.
struct FillCase {
  const char* what;
  std::vector<std::string> paths;
  std::vector<std::string> listed;
  int selection;
};
void PrintTo(const FillCase& c, std::ostream* out) {
  *out << c.what;
}

class PlaylistFill : public testing::TestWithParam<FillCase> {};

TEST_P(PlaylistFill, ListsAndSelectsAsTheOpenButtonDoes) {
  const FillCase& c = GetParam();
  Playlist playlist;
  playlist.AddOrFind("/old/left-over.mp4");
  EXPECT_EQ(playlist.Fill(c.paths), c.selection);
  EXPECT_EQ(entries(playlist), c.listed);
}

INSTANTIATE_TEST_SUITE_P(
    Folders, PlaylistFill,
    testing::Values(FillCase{"sorted", {"/d/b.MP4", "/d/a.avi"}, {"/d/a.avi", "/d/b.MP4"}, 0},
                    FillCase{"longerNameFirst",
                             {"/d/a.avi", "/d/x.mp4.avi", "/d/x.mp4"},
                             {"/d/a.avi", "/d/x.mp4.avi"},
                             1},
                    FillCase{"shorterNameFirst",
                             {"/d/a.avi", "/d/x.mp4", "/d/x.mp4.avi"},
                             {"/d/a.avi", "/d/x.mp4", "/d/x.mp4.avi"},
                             0},
                    FillCase{"empty", {}, {}, -1}),
    [](const testing::TestParamInfo<FillCase>& info) { return info.param.what; });

TEST(PlaylistOrder, OrderedSearchAgreesWithAPlainSearch) {
  std::mt19937 random(7);
  const std::string letters = "aAbB.x/";
  auto randomPath = [&] {
    std::string path;
    for (int n = 1 + random() % 6; n > 0; --n) path += letters[random() % letters.size()];
    return path;
  };
  for (int round = 0; round < 200; ++round) {
    Playlist playlist;
    for (int n = random() % 12; n > 0; --n) playlist.AddOrFind(randomPath());
    for (int probe = 0; probe < 20; ++probe) {
      const std::string path = randomPath();
      ASSERT_EQ(playlist.FindPrefix(path), linearFind(entries(playlist), path)) << path;
    }
  }
}

// Fill takes a whole folder at once; it must list and select what adding
// the paths one by one would.
TEST(PlaylistOrder, FillAgreesWithAddingOneByOne) {
  std::mt19937 random(11);
  const std::string letters = "aAbB.x/";
  for (int round = 0; round < 300; ++round) {
    std::vector<std::string> paths;
    for (int n = random() % 14; n > 0; --n) {
      std::string path;
      for (int k = 1 + random() % 5; k > 0; --k) path += letters[random() % letters.size()];
      paths.push_back(path);
    }
    Playlist filled, added;
    const int selection = filled.Fill(paths);
    int expected = -1;
    for (const std::string& path : paths) {
      const Playlist::Placement placement = added.AddOrFind(path);
      expected = placement.added ? 0 : placement.index;
    }
    ASSERT_EQ(entries(filled), entries(added)) << round;
    ASSERT_EQ(selection, expected) << round;
  }
}

TEST(PlaylistOrder, NamesThatAreNotUtf8StillSortAndMatch) {
  Playlist playlist;
  const std::string odd = "/d/\xff\xfe-clip.mp4";
  const std::string cut = "/d/\xc3";  // a sequence cut short
  playlist.AddOrFind("/d/a.mp4");
  playlist.AddOrFind(odd);
  playlist.AddOrFind(cut);
  EXPECT_EQ(playlist.Count(), 3);
  EXPECT_EQ(playlist.Path(playlist.FindPrefix(odd)), odd);
  EXPECT_EQ(playlist.Path(playlist.FindPrefix(cut)), cut);
  EXPECT_EQ(playlist.FindPrefix("/d/\xff\xfe-CLIP"), playlist.FindPrefix(odd));
}

// The window's playlist, with timer 1 observed instead of starting playback.
class PlaylistWindow : public testing::Test {
 protected:
  PlaylistWindow() {
    for (const char* name : {"b.MP4", "a.avi", "c.Mov", "d.txt"}) folder.write(name);
    dialog.Bind(wxEVT_TIMER, [this](wxTimerEvent& event) {
      if (event.GetId() == CVantrelDlg::kStartPlaybackTimer) ++timerFired;
    });
  }

  wxListBox* box() { return static_cast<wxListBox*>(dialog.FindWindow(IDC_PLAYLIST)); }
  std::vector<std::string> shown() {
    std::vector<std::string> texts;
    for (const wxString& text : box()->GetStrings()) texts.push_back(text.utf8_string());
    return texts;
  }
  std::string path(const char* name) const { return (folder.path() / name).string(); }
  bool waitForTimer() {
    return testsupport::pumpUntil([this] { return timerFired > 0; }, 2000);
  }

  testsupport::TempFolder folder;
  PlayerState player;
  CVantrelDlg dialog{player};
  int timerFired = 0;
};

TEST_F(PlaylistWindow, OpeningAFolderListsItsRecordingsSortedAndSelectsTheFirst) {
  EXPECT_FALSE(dialog.FindWindow(IDC_PLAY)->IsEnabled());
  dialog.OpenFolder(folder.path().string());
  EXPECT_EQ(shown(), (std::vector<std::string>{path("a.avi"), path("b.MP4")}));
  EXPECT_EQ(dialog.CurrentPlaylistIndex(), 0);
  EXPECT_TRUE(dialog.FindWindow(IDC_PLAY)->IsEnabled());
  EXPECT_EQ(player.getFileName(), "");  // opening plays nothing
  testsupport::pumpFor(200);
  EXPECT_EQ(timerFired, 0);
}

TEST_F(PlaylistWindow, AFolderWithoutRecordingsEmptiesTheList) {
  dialog.OpenFolder(folder.path().string());
  testsupport::TempFolder other;
  other.write("notes.txt");
  dialog.OpenFolder(other.path().string());
  EXPECT_TRUE(shown().empty());
  EXPECT_EQ(dialog.SelectPlaylistEntry(0), 1);
  EXPECT_TRUE(dialog.FindWindow(IDC_PLAY)->IsEnabled());  // never disabled again
}

TEST_F(PlaylistWindow, AnUnreadableFolderLeavesTheListAndSaysWhy) {
  dialog.OpenFolder(folder.path().string());
  const std::string missing = path("gone");
  dialog.OpenFolder(missing);
  EXPECT_EQ(shown().size(), 2u);
  wxWindow* status = dialog.FindWindow(IDC_STATUS);
  EXPECT_TRUE(status->IsShown());
  EXPECT_TRUE(status->GetLabel().Contains(wxString::FromUTF8(missing)));
  dialog.OpenFolder(folder.path().string());  // a good folder clears the message
  EXPECT_FALSE(status->IsShown());
}

TEST_F(PlaylistWindow, SelectingAnEntrySetsTheFileNameAndPastTheEndWrapsToTheFirst) {
  EXPECT_EQ(dialog.SelectPlaylistEntry(0), 1);
  EXPECT_EQ(player.getFileName(), "");
  dialog.OpenFolder(folder.path().string());
  const std::tuple<int, int, const char*> cases[] = {
      {1, 1, "b.MP4"}, {2, 0, "a.avi"}, {-1, 0, "a.avi"}, {7, 0, "a.avi"}};
  for (auto [index, selected, name] : cases) {
    EXPECT_EQ(dialog.SelectPlaylistEntry(index), 0);
    EXPECT_EQ(dialog.CurrentPlaylistIndex(), selected) << index;
    EXPECT_EQ(player.getFileName(), path(name));
  }
  // The end of the last entry moves on to the first.
  dialog.SelectPlaylistEntry(1);
  EXPECT_EQ(dialog.SelectPlaylistEntry(dialog.CurrentPlaylistIndex() + 1), 0);
  EXPECT_EQ(player.getFileName(), path("a.avi"));
}

TEST_F(PlaylistWindow, ALongPathIsKeptWhole) {
  std::string name(200, 'n');
  std::string deep;
  for (int level = 0; level < 6; ++level) deep += name + "/";
  const fs::path file = folder.write(deep + "clip.mp4");
  ASSERT_GT(file.string().size(), 1024u);
  dialog.OpenFolder(file.parent_path().string());
  EXPECT_EQ(dialog.SelectPlaylistEntry(0), 0);
  EXPECT_EQ(player.getFileName(), file.string());
}

// A drop onto a list holding a.avi and b.MP4: what is listed, selected and
// played afterwards.
struct DropCase {
  const char* what;
  std::vector<std::string> dropped;  // names inside the test folder
  bool plays;
  std::vector<std::string> listed;
};
void PrintTo(const DropCase& c, std::ostream* out) {
  *out << c.what;
}

class PlaylistDrop : public PlaylistWindow, public testing::WithParamInterface<DropCase> {};

TEST_P(PlaylistDrop, AddsOrSelectsThenPlaysTheFirstFile) {
  const DropCase& c = GetParam();
  dialog.OpenFolder(folder.path().string());
  dialog.SelectPlaylistEntry(1);
  wxArrayString files;
  for (const std::string& name : c.dropped) files.Add(wxString::FromUTF8(path(name.c_str())));
  auto* target = static_cast<wxFileDropTarget*>(box()->GetDropTarget());
  ASSERT_NE(target, nullptr);
  EXPECT_EQ(target->OnDropFiles(0, 0, files), c.plays);

  std::vector<std::string> expected;
  for (const std::string& name : c.listed) expected.push_back(path(name.c_str()));
  EXPECT_EQ(shown(), expected);
  if (c.plays) {
    EXPECT_EQ(player.getFileName(), path(c.dropped.front().c_str()));
    EXPECT_EQ(box()->GetStringSelection().utf8_string(), player.getFileName());
    EXPECT_TRUE(player.quit.load());  // anything playing is told to stop
    EXPECT_TRUE(waitForTimer());
  } else {
    EXPECT_EQ(dialog.CurrentPlaylistIndex(), 1);
    EXPECT_EQ(player.getFileName(), path("b.MP4"));  // as selected before the drop
    testsupport::pumpFor(200);
    EXPECT_EQ(timerFired, 0);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Drops, PlaylistDrop,
    testing::Values(
        DropCase{"threeFiles", {"0.mp4", "e.mp4", "f.mp4"}, true, {"0.mp4", "a.avi", "b.MP4"}},
        DropCase{"photo", {"photo.bmp"}, false, {"a.avi", "b.MP4"}},
        DropCase{"realMedia", {"clip.rmvb"}, false, {"a.avi", "b.MP4"}},
        DropCase{"otherType", {"clip.MKV"}, true, {"a.avi", "b.MP4", "clip.MKV"}},
        DropCase{"underPictureFolder", {"maps.png.d/clip.mp4"}, false, {"a.avi", "b.MP4"}},
        DropCase{"alreadyListed", {"a.avi"}, true, {"a.avi", "b.MP4"}},
        DropCase{"nothing", {}, false, {"a.avi", "b.MP4"}}),
    [](const testing::TestParamInfo<DropCase>& info) { return info.param.what; });

TEST_F(PlaylistWindow, DoubleClickStopsWhatPlaysAndStartsTheEntry) {
  dialog.OpenFolder(folder.path().string());
  box()->SetSelection(1);
  player.playState = Playing;
  wxCommandEvent click(wxEVT_LISTBOX_DCLICK, IDC_PLAYLIST);
  click.SetEventObject(box());
  click.SetInt(1);
  box()->GetEventHandler()->ProcessEvent(click);
  EXPECT_TRUE(player.quit.load());
  EXPECT_EQ(player.getFileName(), path("b.MP4"));
  EXPECT_TRUE(waitForTimer());
  player.playState = Idle;
}

TEST_F(PlaylistWindow, NothingStartsWhileAPlaybackIsOpening) {
  dialog.OpenFolder(folder.path().string());
  player.opening = true;
  dialog.PlaySelectedEntry();
  EXPECT_FALSE(player.quit.load());
  EXPECT_EQ(player.getFileName(), "");
  testsupport::pumpFor(200);
  EXPECT_EQ(timerFired, 0);
  player.opening = false;
}

TEST_F(PlaylistWindow, CommandLineFolderListsAndFilePlays) {
  dialog.OpenCommandLinePath(folder.path().string() + "/");
  EXPECT_EQ(shown(), (std::vector<std::string>{path("a.avi"), path("b.MP4")}));
  EXPECT_EQ(player.getFileName(), "");

  // A relative file name is made absolute, added and played.
  testsupport::TempFolder other;
  const fs::path clip = other.write("clip.mp4");
  const fs::path saved = fs::current_path();
  fs::current_path(other.path());
  dialog.OpenCommandLinePath("clip.mp4");
  fs::current_path(saved);
  EXPECT_EQ(player.getFileName(), clip.string());
  EXPECT_EQ(shown().size(), 3u);
  EXPECT_TRUE(waitForTimer());
}

TEST_F(PlaylistWindow, CommandLinePathThatIsNoRecordingSaysSo) {
  const std::string missing = path("nowhere/clip.mp4");
  for (const std::string& bad : {missing, folder.write("shot.png").string()}) {
    dialog.OpenCommandLinePath(bad);
    EXPECT_TRUE(shown().empty());
    EXPECT_TRUE(dialog.FindWindow(IDC_STATUS)->IsShown());
    EXPECT_TRUE(dialog.FindWindow(IDC_STATUS)->GetLabel().Contains(wxString::FromUTF8(bad)));
  }
  EXPECT_FALSE(dialog.FindWindow(IDC_PLAY)->IsEnabled());
}
