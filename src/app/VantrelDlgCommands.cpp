// The main window's commands: keys, buttons and the context menu run them
// through the command table, and the buttons' and items' enabled states come
// from the table's conditions alone.
#include <wx/listbox.h>
#include <wx/menu.h>

#include <algorithm>

#include "app/ControlTable.h"
#include "app/VantrelDlg.h"
#include "app/VideoPanel.h"
#include "engine/PlayerState.h"
#include "widgets/BitmapSlider.h"
#include "widgets/SliderGeometry.h"

namespace vantrel {

namespace {

bool isPlaylistKey(int key) {
  switch (key) {
    case WXK_UP:
    case WXK_DOWN:
    case WXK_LEFT:
    case WXK_RIGHT:
    case WXK_HOME:
    case WXK_END:
    case WXK_PAGEUP:
    case WXK_PAGEDOWN:
      return true;
  }
  return false;
}

}  // namespace

bool CVantrelDlg::RunCommand(Command command) {
  const CommandSpec& spec = commandSpec(command);
  if (spec.enabled && !spec.enabled(*this)) return false;
  spec.run(*this);
  RefreshCommandStates();
  return true;
}

void CVantrelDlg::RefreshCommandStates() {
  UpdateWindowUI(wxUPDATE_UI_RECURSE);
}

// A focused control keeps the keys it works with: the playlist its arrows
// (the toolkit's list takes no typing to find an entry, so letters stay
// the window's), a slider the keys that move it.
bool CVantrelDlg::FocusTakesKey(const wxKeyEvent& event) const {
  const wxWindow* focus = FindFocus();
  const int key = event.GetKeyCode();
  if (focus == m_playlistBox) return isPlaylistKey(key) && event.GetModifiers() == 0;
  if (dynamic_cast<const CBitmapSlider*>(focus)) {
    return event.GetModifiers() == 0 && sliderKeyTarget(key, 0, 1, 0, 1).has_value();
  }
  return false;
}

void CVantrelDlg::OnCharHook(wxKeyEvent& event) {
  const int key = event.GetKeyCode();
  const bool repeat = m_heldKey.Pressed(key);
  // Enter closes the large map while it is open (it reaches this window
  // when GTK keeps the focus here); elsewhere it is the focused control's.
  if ((key == WXK_RETURN || key == WXK_NUMPAD_ENTER) && m_routeMaps.CloseBigMap()) return;
  if (!FocusTakesKey(event)) {
    if (const CommandSpec* spec = commandForKey(key, event.GetModifiers())) {
      m_keyRepeats = repeat;
      RunCommand(spec->command);  // a disabled command does nothing
      m_keyRepeats = false;
      return;
    }
  }
  event.Skip();
}

void CVantrelDlg::OnCommandButton(wxCommandEvent& event) {
  if (const CommandSpec* spec = commandForControl(event.GetId())) {
    RunCommand(spec->command);
  } else {
    event.Skip();
  }
}

void CVantrelDlg::OnCommandMenu(wxCommandEvent& event) {
  if (const CommandSpec* spec = commandForMenuId(event.GetId())) RunCommand(spec->command);
}

void CVantrelDlg::OnUpdateCommandUI(wxUpdateUIEvent& event) {
  const CommandSpec* spec = commandForControl(event.GetId());
  if (!spec) spec = commandForMenuId(event.GetId());
  if (!spec) {
    event.Skip();
    return;
  }
  event.Enable(!spec->enabled || spec->enabled(*this));
}

void CVantrelDlg::OnContextMenu(wxContextMenuEvent&) {
  wxMenu menu;
  for (const CommandSpec& spec : commandTable()) {
    if (!spec.menuText) continue;
    // The About item keeps its own text (string 101), and its place last.
    if (spec.command == Command::About) continue;
    wxString text = spec.menuText;
    if (spec.keys[0].key != 0) text += "\t" + keyLabel(spec.keys[0]);
    menu.Append(commandMenuId(spec.command), text);
  }
  if (!m_aboutItemText.empty()) {
    menu.AppendSeparator();
    menu.Append(commandMenuId(Command::About), m_aboutItemText);
  }
  menu.UpdateUI(GetEventHandler());  // the items' states, from the table
  PopupMenu(&menu);
}

void CVantrelDlg::ShowAbout() {
  OnSysCommand(IDM_ABOUTBOX);
}

void CVantrelDlg::ExitProgram() {
  if (IsModal()) EndModal(wxID_OK);
}

void CVantrelDlg::GoBack() {
  if (m_routeMaps.CloseBigMap()) return;
  if (m_fullScreen) {
    ToggleFullScreen();
  } else if (IsModal()) {
    EndModal(wxID_CANCEL);
  }
}

void CVantrelDlg::SetVolume(int volume) {
  volume = std::clamp(volume, 0, 128);
  m_player.volume = volume;
  m_volume->SetPos(volume);
  if (volume > 0) m_mutedVolume.reset();
  if (m_settings.volume != volume) {
    m_settings.volume = volume;
    SaveSettings();
  }
}

void CVantrelDlg::ChangeVolume(int direction) {
  SetVolume(m_volume->GetPos() + direction * kVolumeStep);
}

void CVantrelDlg::ToggleMute() {
  if (m_volume->GetPos() > 0) {
    const int before = m_volume->GetPos();
    SetVolume(0);
    m_mutedVolume = before;
  } else if (m_mutedVolume) {
    SetVolume(*m_mutedVolume);
  }
}

void CVantrelDlg::PlayNeighbour(int step) {
  const int count = static_cast<int>(m_playlistBox->GetCount());
  if (count == 0) return;
  const int current = std::max(CurrentPlaylistIndex(), 0);
  m_playlistBox->SetSelection(((current + step) % count + count) % count);
  PlaySelectedEntry();
}

void CVantrelDlg::ShowWholePicture() {
  if (m_video) m_video->ResetZoom();
}

bool CVantrelDlg::HasRecordings() const {
  return m_playlistBox->GetCount() > 0;
}

bool CVantrelDlg::CanTakeScreenshot() const {
  return m_playingLook && m_screenshotAllowed;
}

bool CVantrelDlg::CanMarkClip() const {
  return ShownPictureTime().has_value();
}

// Without marks Save Clip still runs, to say what is missing.
bool CVantrelDlg::CanSaveClip() const {
  return m_player.playState.load() != Idle && !m_clipJob.Running();
}

bool CVantrelDlg::PictureZoomed() const {
  return m_video && m_video->Zoom() > 1.0;
}

}  // namespace vantrel
