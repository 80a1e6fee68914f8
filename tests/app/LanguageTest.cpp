#include <gtest/gtest.h>
#include <sys/stat.h>
#include <wx/button.h>
#include <wx/choice.h>
#include <wx/stattext.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>

#include "TempFolder.h"
#include "app/ControlTable.h"
#include "app/Language.h"
#include "app/LanguageTable.h"
#include "app/LibraryTexts.h"
#include "app/VantrelDlg.h"
#include "engine/PlayerState.h"
#include "support/WxTestSupport.h"

using namespace vantrel;
namespace fs = std::filesystem;

namespace {

std::string readBytes(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A control's text as one line (a long button text is shown on two).
wxString shownText(wxWindow* control) {
  wxString text = control->GetLabel();
  text.Replace("\n", " ");
  return text;
}

// The slots a control reads; every other slot of a row stays empty.
bool isReadSlot(int slot) {
  return (slot >= 1 && slot <= 19) || (slot >= 32 && slot <= 34);
}

// Which text each control shows after the language is applied.
struct ControlSlot {
  int id;
  int slot;
};
const ControlSlot kExpectedTexts[] = {
    {IDC_LONGITUDE_LABEL, 1},   {IDC_LATITUDE_LABEL, 2},  {IDC_SPEED_LABEL, 3},
    {IDC_MAX_SPEED_LABEL, 4},   {IDC_AVG_SPEED_LABEL, 5}, {IDC_DISTANCE_LABEL, 6},
    {IDC_VOLUME_LABEL, 13},     {IDC_TIME_LABEL, 17},     {IDC_LANGUAGE_LABEL, 33},
    {IDC_SPEED_UNIT_LABEL, 32}, {IDC_STOP, 11},           {IDC_OPEN, 7},
    {IDC_SCREENSHOT, 12},       {IDC_FULLSCREEN, 14},     {IDOK_EXIT, 19},
    {IDC_BIG_MAP, 16},          {IDC_LOADING, 34},
};

}  // namespace

TEST(LanguageTable, EveryReadSlotHasATextInEveryLanguageAndNoOtherSlotDoes) {
  for (int language = 0; language < kLanguageCount; ++language) {
    for (int slot = 0; slot < kLanguageSlots; ++slot) {
      EXPECT_EQ(languageText(language, slot).empty(), !isReadSlot(slot))
          << "language " << language << " slot " << slot;
    }
  }
}

TEST(LanguageTable, IndicesOutsideTheTableGiveNoText) {
  const std::pair<int, int> outside[] = {{-1, 1}, {7, 1}, {255, 8}, {3, -1}, {3, 35}};
  for (auto [language, slot] : outside) {
    EXPECT_TRUE(languageText(language, slot).empty()) << language << "/" << slot;
  }
  EXPECT_TRUE(languageName(-1).empty());
  EXPECT_TRUE(languageName(7).empty());
}

TEST(LanguageTable, PunctuationAsEachLanguageWritesIt) {
  EXPECT_TRUE(languageText(kChinese, kSlotSpeedUnitLabel).ends_with("："));  // full-width
  EXPECT_TRUE(languageText(kChinese, kSlotLanguageLabel).ends_with(":"));
  for (int slot : {1, 2, 3, 4, 5, 6, 13, 17}) {
    EXPECT_FALSE(languageText(kRussian, slot).ends_with(":")) << slot;
  }
  EXPECT_FALSE(languageText(kKorean, kSlotVolumeLabel).ends_with(":"));
  EXPECT_TRUE(languageText(kEnglish, kSlotLongitudeLabel).ends_with(":"));
  // The speed labels carry no unit in any language.
  for (int language = 0; language < kLanguageCount; ++language) {
    for (int slot : {kSlotSpeedLabel, kSlotMaxSpeedLabel, kSlotAvgSpeedLabel}) {
      EXPECT_EQ(languageText(language, slot).find("KM"), std::string_view::npos);
    }
  }
}

// The conversions of a format text, in order ("%zu", "%.0f", ...).
std::vector<std::string> conversionsOf(const wxString& text) {
  std::vector<std::string> found;
  const std::string utf8 = text.utf8_string();
  for (size_t at = utf8.find('%'); at != std::string::npos; at = utf8.find('%', at + 1)) {
    const size_t end = utf8.find_first_of("sdfzu", at + 1);
    const size_t last = utf8[end] == 'z' ? end + 1 : end;
    found.push_back(utf8.substr(at, last - at + 1));
    at = last;
  }
  return found;
}

// The library's texts: every one in every language, a format taking the
// same arguments in each, and English outside the table.
TEST(LibraryTexts, EveryLanguageHasEachTextWithTheSameArguments) {
  for (int t = 0; t < static_cast<int>(LibraryText::Count); ++t) {
    const auto text = static_cast<LibraryText>(t);
    const std::vector<std::string> english = conversionsOf(libraryText(kEnglish, text));
    for (int language = 0; language < kLanguageCount; ++language) {
      const wxString shown = libraryText(language, text);
      EXPECT_FALSE(shown.empty()) << "text " << t << " language " << language;
      EXPECT_EQ(conversionsOf(shown), english) << "text " << t << " language " << language;
    }
    EXPECT_EQ(libraryText(-1, text), libraryText(kEnglish, text));
    EXPECT_EQ(libraryText(7, text), libraryText(kEnglish, text));
  }
  EXPECT_EQ(conversionsOf(libraryText(kRussian, LibraryText::PassItem)),
            (std::vector<std::string>{"%s", "%s", "%s", "%.0f"}));
  EXPECT_EQ(libraryText(kGerman, LibraryText::Drives), "Fahrten");
}

TEST(LanguageTable, NamesFollowTheLanguageIndices) {
  const char* english[] = {"Chinese", "Korean", "Japanese", "English", "Russian", "DE", "NL"};
  for (int language = 0; language < kLanguageCount; ++language) {
    EXPECT_NE(languageName(language).find(english[language]), std::string_view::npos);
  }
}

TEST(LanguageTable, PlayButtonSlotByPlayState) {
  const std::pair<int, int> cases[] = {{Idle, kSlotPlayStopped},
                                       {Paused, kSlotPlayPaused},
                                       {Playing, kSlotPlayPlaying},
                                       {3, -1},
                                       {-1, -1}};
  for (auto [state, slot] : cases) EXPECT_EQ(playButtonSlot(state), slot) << state;
}

// What is at the language file's place, and the language that gives.
enum class FileKind { Missing, Bytes, ReadOnly, Folder };
struct FileCase {
  const char* what;
  FileKind kind;
  std::string bytes;
  int expected;
};
void PrintTo(const FileCase& c, std::ostream* out) {
  *out << c.what;
}

class LanguageFile : public testing::TestWithParam<FileCase> {
 protected:
  testsupport::TempFolder folder;
  fs::path file = folder.path() / "res.language";
};

TEST_P(LanguageFile, GivesTheSavedLanguageOrEnglish) {
  const FileCase& c = GetParam();
  if (c.kind == FileKind::Bytes || c.kind == FileKind::ReadOnly)
    folder.write("res.language", c.bytes);
  if (c.kind == FileKind::ReadOnly) fs::permissions(file, fs::perms::owner_read);
  if (c.kind == FileKind::Folder) fs::create_directory(file);
  Language language(languageFilePath(folder.withSlash()));
  EXPECT_EQ(language.ReadLanguage(true), c.expected);
  EXPECT_EQ(language.ReadLanguage(false), c.expected);
  EXPECT_EQ(fs::exists(file), c.kind != FileKind::Missing);  // reading never creates it
}

INSTANTIATE_TEST_SUITE_P(
    Contents, LanguageFile,
    testing::Values(FileCase{"missing", FileKind::Missing, "", kEnglish},
                    FileCase{"Russian", FileKind::Bytes, "4", kRussian},
                    FileCase{"RussianWithLineEnd", FileKind::Bytes, "4\n", kRussian},
                    FileCase{"Dutch", FileKind::Bytes, "6", kDutch},
                    FileCase{"Chinese", FileKind::Bytes, "0", kChinese},
                    FileCase{"empty", FileKind::Bytes, "", kEnglish},
                    FileCase{"letter", FileKind::Bytes, "x", kEnglish},
                    FileCase{"nine", FileKind::Bytes, "9", kEnglish},
                    FileCase{"seven", FileKind::Bytes, "7", kEnglish},
                    FileCase{"byteBelowZero", FileKind::Bytes, "/", kEnglish},
                    FileCase{"highByte", FileKind::Bytes, "\xff", kEnglish},
                    FileCase{"readOnlyGerman", FileKind::ReadOnly, "5", kGerman},
                    FileCase{"folderInItsPlace", FileKind::Folder, "", kEnglish}),
    [](const testing::TestParamInfo<FileCase>& info) { return info.param.what; });

TEST(LanguageFileCache, ReadOnceThenOnlyWhenForced) {
  testsupport::TempFolder folder;
  const fs::path file = folder.write("res.language", "2");
  Language language(file.string());
  EXPECT_EQ(language.ReadLanguage(false), kJapanese);
  folder.write("res.language", "5");
  EXPECT_EQ(language.ReadLanguage(false), kJapanese);
  EXPECT_EQ(language.ReadLanguage(true), kGerman);
}

TEST(LanguageFileSave, WritesExactlyOneDigitOverWhateverWasThere) {
  testsupport::TempFolder folder;
  const fs::path file = folder.write("res.language", "4\nmore text");
  Language language(file.string());
  for (int index = 0; index < kLanguageCount; ++index) {
    EXPECT_TRUE(language.SaveLanguage(index));
    EXPECT_EQ(readBytes(file), std::string(1, char('0' + index)));
    EXPECT_EQ(language.ReadLanguage(true), index);
  }
}

TEST(LanguageFileSave, RefusesAnIndexOutsideTheTable) {
  testsupport::TempFolder folder;
  const fs::path file = folder.write("res.language", "2");
  Language language(file.string());
  for (int index : {-1, 7, 51, 256 + 3}) {
    EXPECT_FALSE(language.SaveLanguage(index)) << index;
    EXPECT_EQ(readBytes(file), "2");
    EXPECT_EQ(language.ReadLanguage(false), kJapanese);
  }
}

TEST(LanguageFileSave, AnUnwritableFileKeepsTheChoiceForThisRun) {
  testsupport::TempFolder folder;
  const fs::path file = folder.path() / "missing-folder" / "res.language";
  Language language(file.string());
  EXPECT_EQ(language.ReadLanguage(false), kEnglish);
  EXPECT_FALSE(language.SaveLanguage(kDutch));
  EXPECT_EQ(language.ReadLanguage(false), kDutch);
  EXPECT_FALSE(fs::exists(file));
}

// The window with its user folder (HOME) in a fresh temporary folder.
class LanguageWindow : public testing::Test {
 protected:
  void SetUp() override {
    if (const char* home = std::getenv("HOME")) m_savedHome = home;
    setenv("HOME", userFolder.path().c_str(), 1);
  }
  void TearDown() override { setenv("HOME", m_savedHome.c_str(), 1); }

  fs::path languageFile() const { return userFolder.path() / "res.language"; }
  static wxChoice* languageBox(CVantrelDlg& dialog) {
    return static_cast<wxChoice*>(dialog.FindWindow(IDC_LANGUAGE));
  }
  static void choose(CVantrelDlg& dialog, int language) {
    wxChoice* box = languageBox(dialog);
    box->SetSelection(language);
    wxCommandEvent chosen(wxEVT_CHOICE, IDC_LANGUAGE);
    chosen.SetEventObject(box);
    chosen.SetInt(language);
    box->GetEventHandler()->ProcessEvent(chosen);
  }
  // Every translated control shows language's text; the play button shows
  // the slot of the play state.
  static void expectTexts(CVantrelDlg& dialog, int language, int playSlot) {
    for (const ControlSlot& entry : kExpectedTexts) {
      EXPECT_EQ(shownText(dialog.FindWindow(entry.id)), languageLabel(language, entry.slot))
          << "control " << entry.id << " language " << language;
    }
    EXPECT_EQ(shownText(dialog.FindWindow(IDC_PLAY)), languageLabel(language, playSlot));
  }

  testsupport::TempFolder userFolder;
  PlayerState player;

 private:
  std::string m_savedHome;
};

TEST_F(LanguageWindow, FreshStartIsEnglishAndCreatesNoFile) {
  CVantrelDlg dialog(player);
  EXPECT_EQ(languageBox(dialog)->GetSelection(), kEnglish);
  expectTexts(dialog, kEnglish, kSlotPlayStopped);
  EXPECT_FALSE(fs::exists(languageFile()));
}

TEST_F(LanguageWindow, BoxListsTheNamesAtTheirIndicesUnsorted) {
  CVantrelDlg dialog(player);
  wxChoice* box = languageBox(dialog);
  ASSERT_EQ(box->GetCount(), unsigned(kLanguageCount));
  for (int language = 0; language < kLanguageCount; ++language) {
    EXPECT_EQ(box->GetString(language), toWxString(languageName(language)));
  }
}

TEST_F(LanguageWindow, RussianDigitWithLineEndStartsInRussian) {
  userFolder.write("res.language", "4\n");
  CVantrelDlg dialog(player);
  EXPECT_EQ(languageBox(dialog)->GetSelection(), kRussian);
  expectTexts(dialog, kRussian, kSlotPlayStopped);
  EXPECT_EQ(dialog.LanguageText(kSlotBigMapClose), languageLabel(kRussian, kSlotBigMapClose));
}

TEST_F(LanguageWindow, ChoosingDutchChangesTheTextsAndLastsAcrossRuns) {
  {
    CVantrelDlg dialog(player);
    choose(dialog, kDutch);
    expectTexts(dialog, kDutch, kSlotPlayStopped);
    EXPECT_EQ(readBytes(languageFile()), "6");
    EXPECT_EQ(dialog.LanguageText(kSlotPlayStopped), languageLabel(kDutch, kSlotPlayStopped));
  }
  CVantrelDlg next(player);
  EXPECT_EQ(languageBox(next)->GetSelection(), kDutch);
  expectTexts(next, kDutch, kSlotPlayStopped);
}

TEST_F(LanguageWindow, ChoosingTheCurrentLanguageWritesNothing) {
  CVantrelDlg dialog(player);
  choose(dialog, kEnglish);
  EXPECT_EQ(dialog.OnLanguageChosen(), kEnglish);
  EXPECT_FALSE(fs::exists(languageFile()));
}

TEST_F(LanguageWindow, PlayButtonFollowsThePlayStateAcrossALanguageChange) {
  const std::pair<int, int> states[] = {
      {Playing, kSlotPlayPlaying}, {Paused, kSlotPlayPaused}, {Idle, kSlotPlayStopped}};
  CVantrelDlg dialog(player);
  int language = kChinese;
  for (auto [state, slot] : states) {
    player.playState = state;
    choose(dialog, language);
    EXPECT_EQ(shownText(dialog.FindWindow(IDC_PLAY)), languageLabel(language, slot))
        << "state " << state;
    language = (language + 2) % kLanguageCount;
  }
  // A state outside the three leaves the button's text as it was.
  const wxString before = dialog.FindWindow(IDC_PLAY)->GetLabel();
  player.playState = 7;
  choose(dialog, kGerman);
  EXPECT_EQ(dialog.FindWindow(IDC_PLAY)->GetLabel(), before);
  player.playState = Idle;
}

TEST_F(LanguageWindow, UnwritableLanguageFileKeepsTheChosenTextsAndSaysSo) {
  fs::create_directory(languageFile());  // no file can be written there
  CVantrelDlg dialog(player);
  choose(dialog, kKorean);
  expectTexts(dialog, kKorean, kSlotPlayStopped);
  EXPECT_EQ(dialog.LanguageText(kSlotPlayPlaying), languageLabel(kKorean, kSlotPlayPlaying));
  wxWindow* status = dialog.FindWindow(IDC_STATUS);
  EXPECT_TRUE(status->IsShown());
  EXPECT_TRUE(status->GetLabel().Contains("res.language"));
}

TEST(ControlText, LongTextsBreakAtTheSpaceNearestTheMiddle) {
  const std::pair<const char*, const char*> cases[] = {
      {"продолжить проигрование", "продолжить\nпроигрование"},
      {"a b c", "a\nb c"},
      {"Exit Large Map", "Exit\nLarge Map"},
      {"ビデオキャプチャー", "ビデオキャプチャー"},
      {"", ""}};
  for (auto [text, expected] : cases) {
    EXPECT_EQ(splitInTwoLines(wxString::FromUTF8(text)), wxString::FromUTF8(expected)) << text;
  }
}

// Whether every line of control's text shows whole: within the height, and
// within the width unless the label ends in an ellipsis.
testing::AssertionResult showsWhole(wxWindow* control, int frame) {
  const wxArrayString lines = wxSplit(control->GetLabel(), '\n', '\0');
  const wxSize room = control->GetClientSize();
  int height = 0;
  for (const wxString& line : lines) {
    const wxSize text = control->GetTextExtent(line);
    height += text.y;
    if (text.x > room.x - frame && !control->HasFlag(wxST_ELLIPSIZE_END)) {
      return testing::AssertionFailure()
             << "\"" << line << "\" is " << text.x << " px, room " << room.x - frame;
    }
  }
  if (height > room.y) {
    return testing::AssertionFailure()
           << control->GetLabel() << " is " << height << " px high, room " << room.y;
  }
  return testing::AssertionSuccess();
}

TEST_F(LanguageWindow, EveryLanguageRendersWhole) {
  // Every text a button shows in some state.
  const std::pair<int, int> buttonTexts[] = {
      {IDC_OPEN, 7},     {IDC_PLAY, 8},        {IDC_PLAY, 9},        {IDC_PLAY, 10},
      {IDC_STOP, 11},    {IDC_SCREENSHOT, 12}, {IDC_FULLSCREEN, 14}, {IDC_FULLSCREEN, 15},
      {IDC_BIG_MAP, 16}, {IDOK_EXIT, 19}};
  for (int language = 0; language < kLanguageCount; ++language) {
    std::ofstream(languageFile(), std::ios::binary) << char('0' + language);
    CVantrelDlg dialog(player);
    dialog.Show();
    testsupport::pumpFor(200);
    expectTexts(dialog, language, kSlotPlayStopped);
    for (const ControlSlot& entry : kExpectedTexts) {
      if (!dynamic_cast<wxButton*>(dialog.FindWindow(entry.id))) {
        EXPECT_TRUE(showsWhole(dialog.FindWindow(entry.id), 0)) << "language " << language;
      }
    }
    testsupport::saveScreenshot("language-" + std::to_string(language));
    for (auto [id, slot] : buttonTexts) {
      dialog.SetLanguageText(id, slot);
      EXPECT_EQ(shownText(dialog.FindWindow(id)), languageLabel(language, slot));
      EXPECT_TRUE(showsWhole(dialog.FindWindow(id), 8)) << "language " << language;
    }
    dialog.FindWindow(IDC_PLAY)->Enable();
    testsupport::pumpFor(100);
    testsupport::saveScreenshot("language-" + std::to_string(language) + "-paused-return");
  }
}
