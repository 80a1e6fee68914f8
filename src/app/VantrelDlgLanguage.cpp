// The main window's language box and texts.
#include <wx/choice.h>

#include "app/LanguageTable.h"
#include "app/VantrelDlg.h"
#include "engine/PlayerState.h"

namespace vantrel {

void CVantrelDlg::InitLanguageBox() {
  m_language = Language(languageFilePath(m_userDir));
  // Inserted at their indices and never sorted: box index = language index.
  for (int language = 0; language < kLanguageCount; ++language) {
    m_languageBox->Insert(toWxString(languageName(language)), language);
  }
  m_languageBox->SetSelection(m_language.ReadLanguage(true));
}

void CVantrelDlg::InitLanguageTexts() {
  ApplyLanguage(*this, m_language.ReadLanguage(false), m_player.playState);
}

int CVantrelDlg::OnLanguageChosen() {
  const int current = m_language.ReadLanguage(false);
  const int chosen = m_languageBox->GetSelection();
  if (!isValidLanguage(chosen) || chosen == current) return current;
  ApplyLanguage(*this, chosen, m_player.playState);
  const bool saved = m_language.SaveLanguage(chosen);
  ApplyLibraryLanguage();
  if (!saved) {
    // The chosen texts stay for this run; only the next start forgets them.
    ShowProblem(wxString::Format("The language could not be saved in %s",
                                 wxString::FromUTF8(m_language.FilePath())));
    return m_language.ReadLanguage(false);
  }
  return m_language.ReadLanguage(true);
}

void CVantrelDlg::OnLanguageChosenEvent(wxCommandEvent&) {
  OnLanguageChosen();
}

wxString CVantrelDlg::LanguageText(int slot) {
  return languageLabel(m_language.ReadLanguage(false), slot);
}

void CVantrelDlg::SetLanguageText(int id, int slot) {
  if (wxWindow* control = FindWindow(id)) SetControlText(*control, LanguageText(slot));
}

}  // namespace vantrel
