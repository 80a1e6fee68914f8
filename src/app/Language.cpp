#include "app/Language.h"

#include <wx/button.h>
#include <wx/control.h>

#include <cstdio>
#include <cstdlib>

#include "app/ControlTable.h"
#include "app/LanguageTable.h"
#include "engine/PlayerState.h"

namespace vantrel {

namespace {

// Which slot each control shows, in the order the texts are set.
struct ControlText {
  int id;
  int slot;
};

constexpr ControlText kControlTexts[] = {
    {IDC_LONGITUDE_LABEL, kSlotLongitudeLabel},
    {IDC_LATITUDE_LABEL, kSlotLatitudeLabel},
    {IDC_SPEED_LABEL, kSlotSpeedLabel},
    {IDC_MAX_SPEED_LABEL, kSlotMaxSpeedLabel},
    {IDC_AVG_SPEED_LABEL, kSlotAvgSpeedLabel},
    {IDC_DISTANCE_LABEL, kSlotDistanceLabel},
    {IDC_VOLUME_LABEL, kSlotVolumeLabel},
    {IDC_TIME_LABEL, kSlotTimeLabel},
    {IDC_LANGUAGE_LABEL, kSlotLanguageLabel},
    {IDC_SPEED_UNIT_LABEL, kSlotSpeedUnitLabel},
    {IDC_STOP, kSlotStop},
    {IDC_OPEN, kSlotOpen},
    {IDC_SCREENSHOT, kSlotScreenshot},
    {IDC_FULLSCREEN, kSlotFullScreen},
    {IDOK_EXIT, kSlotExit},
    {IDC_BIG_MAP, kSlotBigMap},
    {IDC_LOADING, kSlotLoading},
};

void setText(wxWindow& window, int id, int language, int slot) {
  if (wxWindow* control = window.FindWindow(id)) {
    SetControlText(*control, languageLabel(language, slot));
  }
}

// Room a button's frame takes from its width.
constexpr int kButtonFrame = 8;

}  // namespace

wxString toWxString(std::string_view utf8) {
  return utf8.empty() ? wxString() : wxString::FromUTF8(utf8.data(), utf8.size());
}

wxString languageLabel(int language, int slot) {
  return toWxString(languageText(language, slot));
}

std::string languageFilePath(const std::string& userDir) {
  return userDir + "res.language";
}

int Language::ReadLanguage(bool force) {
  if (m_current >= 0 && !force) return m_current;
  m_current = kEnglish;
  // Read access is all it takes; "rb" never creates the file.
  std::FILE* file = std::fopen(m_filePath.c_str(), "rb");
  if (!file) return m_current;
  const int first = std::fgetc(file);  // later bytes are ignored
  std::fclose(file);
  if (first != EOF && isValidLanguage(first - '0')) m_current = first - '0';
  return m_current;
}

bool Language::SaveLanguage(int language) {
  if (!isValidLanguage(language)) return false;
  m_current = language;
  std::FILE* file = std::fopen(m_filePath.c_str(), "wb");
  if (!file) return false;
  const bool written = std::fputc('0' + language, file) != EOF;
  return (std::fclose(file) == 0) && written;
}

wxString splitInTwoLines(const wxString& text) {
  const long middle = static_cast<long>(text.length()) / 2;
  long best = -1;
  for (long i = 0; i < static_cast<long>(text.length()); ++i) {
    if (text[i] == ' ' && (best < 0 || std::labs(i - middle) < std::labs(best - middle))) best = i;
  }
  if (best < 0) return text;
  wxString split = text;
  split[best] = '\n';
  return split;
}

void SetControlText(wxWindow& control, const wxString& text) {
  // dynamic_cast, not wxDynamicCast: that one casts down before it checks.
  auto* labelled = dynamic_cast<wxControl*>(&control);
  if (!labelled) return;
  wxString shown = text;
  if (dynamic_cast<wxButton*>(&control) &&
      control.GetTextExtent(text).x > control.GetClientSize().x - kButtonFrame) {
    shown = splitInTwoLines(text);
  }
  labelled->SetLabelText(shown);  // no text of the table means a mnemonic
}

int playButtonSlot(int playState) {
  switch (playState) {
    case Idle:
      return kSlotPlayStopped;
    case Paused:
      return kSlotPlayPaused;
    case Playing:
      return kSlotPlayPlaying;
    default:
      return -1;
  }
}

void ApplyLanguage(wxWindow& window, int language, int playState) {
  if (!isValidLanguage(language)) return;
  for (const ControlText& entry : kControlTexts) setText(window, entry.id, language, entry.slot);
  if (const int slot = playButtonSlot(playState); slot >= 0) {
    setText(window, IDC_PLAY, language, slot);
  }
}

}  // namespace vantrel
