// The full-screen layout: the picture over the screen with the transport
// strip at the bottom, and the way back to the dialog's own layout.
#include <wx/display.h>

#include "app/ControlTable.h"
#include "app/FullScreenLayout.h"
#include "app/VantrelDlg.h"
#include "app/VideoPanel.h"
#include "engine/PlayerState.h"

namespace vantrel {

void CVantrelDlg::CaptureControlLayout() {
  for (size_t i = 0; i < kLayoutIds.size(); ++i) {
    m_layout.controls[i] = FindWindow(kLayoutIds[i])->GetRect();
  }
  m_layout.window = GetScreenRect();
}

void CVantrelDlg::ToggleFullScreen() {
  // Rearranged while hidden, so the intermediate layout is never seen. The
  // window is hidden as a plain top-level window: hiding the dialog would
  // end its modal loop, and with it the program.
  wxWindow* focus = FindFocus();
  wxTopLevelWindow::Show(false);
  if (m_fullScreen) {
    LeaveFullScreen();
  } else {
    EnterFullScreen();
  }
  wxTopLevelWindow::Show(true);
  // Shown windows keep the place they are given; a hidden one may be
  // re-placed when it is shown again.
  if (!m_fullScreen) SetSize(m_layout.window);
  Raise();
  // The keys come back to where they went (F again, Escape), or to the
  // picture when that control is hidden now.
  if (focus && focus->IsShownOnScreen()) {
    focus->SetFocus();
  } else if (m_video) {
    m_video->SetFocus();
  }
  Update();
  if (m_video) m_video->Refresh();
}

void CVantrelDlg::EnterFullScreen() {
  m_fullScreen = true;
  m_dashboard.SetFullScreen(true);
  m_layout.window = GetScreenRect();
  const wxSize screen = wxDisplay(0u).GetGeometry().GetSize();
  ShowFullScreen(true, wxFULLSCREEN_ALL);
  for (int id : kHiddenInFullScreen) FindWindow(id)->Hide();
  for (const StripPlacement& place : stripPlacements(m_layout, screen)) {
    wxWindow* control = FindWindow(place.id);
    control->Move(place.position);
    control->Raise();
  }
  const wxRect client(ClientToScreen(wxPoint(0, 0)), GetClientSize());
  wxWindow* video = FindWindow(IDC_VIDEO);
  video->SetSize(fullScreenVideoRect(GetScreenRect(), client, screen));
  video->Raise();  // the small map keeps its place, under the picture
  PlacePlaybackSpeedLabel();
  SetControlText(*FindWindow(IDC_FULLSCREEN), languageLabel(m_language.ReadLanguage(false), 15));
}

void CVantrelDlg::LeaveFullScreen() {
  m_fullScreen = false;
  m_dashboard.SetFullScreen(false);
  ShowFullScreen(false);
  SetSize(m_layout.window);
  for (int id : kRestoreOrder) FindWindow(id)->SetSize(m_layout.rectOf(id));
  for (int id : kShownOnLeaving) FindWindow(id)->Show();
  PlacePlaybackSpeedLabel();
  SetControlText(*FindWindow(IDC_FULLSCREEN), languageLabel(m_language.ReadLanguage(false), 14));
}

}  // namespace vantrel
