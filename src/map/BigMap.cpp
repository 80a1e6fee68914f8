#include "map/BigMap.h"

#include <wx/button.h>
#include <wx/display.h>

#include <algorithm>

namespace vantrel {

namespace {
constexpr int kBrowserId = 1038;
// Dialog template 142 in dialog units, before OnInitDialog moves things.
const wxSize kTemplateSize{437, 295};
const wxRect kBrowserRect{0, 0, 434, 273};
const wxSize kExitSize{94, 20};
constexpr int kExitMaxWidth = 140;
}  // namespace

// clang-format off
wxBEGIN_EVENT_TABLE(CBigMap, wxDialog)
  EVT_BUTTON(wxID_OK, CBigMap::OnOK)
  EVT_BUTTON(wxID_CANCEL, CBigMap::OnCancel)
  EVT_CLOSE(CBigMap::OnCloseWindow)
  EVT_CHAR_HOOK(CBigMap::OnCharHook)
wxEND_EVENT_TABLE()
// clang-format on

CBigMap::CBigMap(wxWindow* owner, const wxString& backend)
    : wxDialog(owner, wxID_ANY, wxString::FromUTF8("Vantrel实时地图"), wxDefaultPosition,
               wxDefaultSize, wxCAPTION | wxSYSTEM_MENU | wxCLOSE_BOX) {
  SetFont(wxFont(8, wxFONTFAMILY_DEFAULT, wxFONTSTYLE_NORMAL, wxFONTWEIGHT_NORMAL));
  SetClientSize(ConvertDialogToPixels(kTemplateSize));
  m_browser.Create(this, kBrowserId,
                   wxRect(ConvertDialogToPixels(kBrowserRect.GetPosition()),
                          ConvertDialogToPixels(kBrowserRect.GetSize())),
                   backend);
  // Placed 150 pixels from the right edge, the button must stay narrower
  // than that whatever the font makes of its dialog units.
  wxSize exitSize = ConvertDialogToPixels(kExitSize);
  exitSize.x = std::min(exitSize.x, kExitMaxWidth);
  auto* exit = new wxButton(this, wxID_OK, wxString::FromUTF8("确定"),
                            ConvertDialogToPixels(wxPoint(340, 274)), exitSize);
  exit->SetDefault();
  m_exit = exit;
}

bool CBigMap::OnInitDialog(const wxString& pageUrl, const wxString& exitText) {
  // The client area covers the whole primary display.
  m_screen = wxDisplay(0u).GetGeometry();
  const int cx = m_screen.width, cy = m_screen.height;
  SetSize(m_screen);
  ShowFullScreen(true, wxFULLSCREEN_ALL);

  m_browser.SetWidth(cx - 20);
  m_browser.SetHeight(cy - 60);
  m_browser.Window()->Move(10, 15);
  m_exit->SetLabelText(exitText);
  m_exit->Move(cx - 150, cy - 40);

  m_browser.Navigate(pageUrl);
  m_browser.SetSilent(true);
  m_bRouteReady = false;
  m_bOpen = true;
  return true;
}

bool CBigMap::Show(bool show) {
  const bool changed = wxDialog::Show(show);
  if (show && m_bOpen) SetSize(m_screen);
  return changed;
}

void CBigMap::OnOK(wxCommandEvent&) { CloseMap(); }

void CBigMap::OnCancel(wxCommandEvent&) { CloseMap(); }

void CBigMap::OnCloseWindow(wxCloseEvent&) { CloseMap(); }

// Escape closes this window only: skipped, it would reach the main window,
// whose Escape ends the program.
void CBigMap::OnCharHook(wxKeyEvent& event) {
  if (event.GetKeyCode() == WXK_ESCAPE) {
    CloseMap();
    return;
  }
  event.Skip();
}

void CBigMap::CloseMap() {
  m_bOpen = false;
  m_bRouteReady = false;
  m_browser.Navigate(wxWebViewDefaultURLStr);  // no call reaches the old page
  ShowFullScreen(false);
  Hide();
}

}  // namespace vantrel
