#include "map/BigMap.h"

#include <gtk/gtk.h>
#include <wx/button.h>
#include <wx/display.h>
#include <wx/sizer.h>

#include <algorithm>

namespace vantrel {

namespace {
constexpr int kBrowserId = 1038;
// Dialog template 142 in dialog units, before OnInitDialog moves things.
const wxSize kTemplateSize{437, 295};
const wxRect kBrowserRect{0, 0, 434, 273};
const wxSize kExitSize{94, 20};
constexpr int kExitMaxWidth = 140;
constexpr int kGap = 10;  // pixels around the map and the exit button
constexpr int kTopGap = 15;
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
  // The main window runs modally, and GTK gives a modal window every click
  // of the windows in its group: in a group of its own, this window takes
  // its clicks (the map, the exit button) while the main window's loop runs.
  GtkWindowGroup* group = gtk_window_group_new();
  gtk_window_group_add_window(group, GTK_WINDOW(GetHandle()));
  g_object_unref(group);
  LayOut();
}

bool CBigMap::OnInitDialog(const wxString& pageUrl, const wxString& exitText) {
  m_screen = wxDisplay(0u).GetGeometry();
  CoverScreen();
  ShowFullScreen(true, wxFULLSCREEN_ALL);
  m_exit->SetLabelText(exitText);
  Layout();

  m_browser.Navigate(pageUrl);
  m_browser.SetSilent(true);
  m_bRouteReady = false;
  m_bOpen = true;
  return true;
}

// The map's top left corner where the dialog template had it, (10, 15), the
// exit button at the bottom right: both inside the client area whatever size
// the window manager gives the window.
void CBigMap::LayOut() {
  auto* window = new wxBoxSizer(wxVERTICAL);
  window->AddSpacer(kTopGap);
  window->Add(m_browser.Window(), 1, wxEXPAND | wxLEFT | wxRIGHT, kGap);
  window->Add(m_exit, 0, wxALIGN_RIGHT | wxALL, kGap);
  SetSizer(window);
}

bool CBigMap::Show(bool show) {
  const bool changed = wxDialog::Show(show);
  if (show && m_bOpen) CoverScreen();
  return changed;
}

// The client area covers the whole primary display. Sized as a whole, the
// window would lose the frame a window manager draws around a dialog, though
// a full-screen window has none.
void CBigMap::CoverScreen() {
  Move(m_screen.GetPosition());
  SetClientSize(m_screen.GetSize());
}

void CBigMap::OnOK(wxCommandEvent&) {
  CloseMap();
}

void CBigMap::OnCancel(wxCommandEvent&) {
  CloseMap();
}

void CBigMap::OnCloseWindow(wxCloseEvent&) {
  CloseMap();
}

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
