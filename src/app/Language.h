#pragma once
// The chosen language: cached in memory and kept across runs in a file of
// exactly one ASCII digit ('0'..'6', no line end) in the user's folder.
#include <wx/string.h>

#include <string>
#include <string_view>

class wxWindow;

namespace vantrel {

// The language file in userDir (which ends in '/' or is empty).
std::string languageFilePath(const std::string& userDir);

// UI thread only.
class Language {
 public:
  Language() = default;
  explicit Language(std::string filePath) : m_filePath(std::move(filePath)) {}

  // The current language; the file is read on the first call and whenever
  // force is set. A missing or unreadable file, an empty one, or one whose
  // first byte is not a language digit gives English. Never creates the file.
  int ReadLanguage(bool force);
  // Writes the one-byte file. When it cannot be written the language still
  // becomes current for this run, so the texts on screen and later lookups
  // agree; returns whether the choice was stored.
  bool SaveLanguage(int language);

  const std::string& FilePath() const { return m_filePath; }

 private:
  std::string m_filePath;
  int m_current = -1;  // -1: not read yet
};

wxString toWxString(std::string_view utf8);
// A text of the language table as a wxString; empty outside the table.
wxString languageLabel(int language, int slot);

// text with the space nearest its middle made a line break; text without a
// space stays as it is.
wxString splitInTwoLines(const wxString& text);

// Puts text on a label or button. A button's text that one line of the
// button cannot hold is shown on two lines, which its height holds.
void SetControlText(wxWindow& control, const wxString& text);

// The play button's slot for a play state; -1 leaves the text as it is.
int playButtonSlot(int playState);

// Puts language's texts on the main window's labels and buttons, the play
// button's by playState. An index outside the table changes nothing.
void ApplyLanguage(wxWindow& window, int language, int playState);

}  // namespace vantrel
