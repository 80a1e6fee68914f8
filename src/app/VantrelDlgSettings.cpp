// The main window's settings: read at start, put on the controls, and saved
// whenever the user changes one of them.
#include <wx/choice.h>

#include <cstdlib>

#include "app/VantrelDlg.h"
#include "engine/PlayerState.h"
#include "widgets/BitmapSlider.h"

namespace vantrel {

void CVantrelDlg::InitSettings() {
  const char* configHome = std::getenv("XDG_CONFIG_HOME");
  m_settingsPath = settingsFilePath(configHome ? configHome : "", m_userDir);
  LoadedSettings loaded = loadSettings(m_settingsPath);
  m_settings = std::move(loaded.settings);
  AddStartupNote(loaded.note);
}

void CVantrelDlg::ApplySettings() {
  m_speedUnit->SetSelection(m_settings.speedUnit);
  m_dashboard.OnSpeedUnitChange(m_settings.speedUnit);
  m_player.volume = m_settings.volume;
  m_volume->SetPos(m_settings.volume);
  SetPlaybackSpeed(m_settings.playbackSpeed);
}

void CVantrelDlg::AddStartupNote(const std::string& note) {
  if (note.empty()) return;
  m_startupNote += (m_startupNote.empty() ? "" : "; ") + note;
  ShowStatus(wxString::FromUTF8(m_startupNote));
}

void CVantrelDlg::SaveSettings() {
  if (saveSettings(m_settingsPath, m_settings)) return;
  ShowProblem(wxString::FromUTF8("Cannot save the settings to " +
                                 (m_settingsPath.empty() ? "(no home folder)" : m_settingsPath)));
}

}  // namespace vantrel
