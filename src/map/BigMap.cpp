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
constexpr int kGap = 10;  // pixels between the parts and around them
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
}

bool CBigMap::OnInitDialog(const wxString& pageUrl, const wxString& exitText) {
  m_screen = wxDisplay(0u).GetGeometry();
  CoverScreen();
  ShowFullScreen(true, wxFULLSCREEN_ALL);

  m_exit->SetLabelText(exitText);
  LayOut();

  m_browser.Navigate(pageUrl);
  m_browser.SetSilent(true);
  m_bRouteReady = false;
  m_bOpen = true;
  return true;
}

void CBigMap::SetPanels(wxWindow* side, wxWindow* bottom) {
  m_side = side;
  m_bottom = bottom;
  if (m_bOpen) LayOut();
}

// The panel on the left, the map with the bottom panel under it on the
// right, and the exit button at the bottom right; the map's top left corner
// where the dialog template had it, (10, 15) without a side panel.
void CBigMap::LayOut() {
  SetSizer(nullptr);  // the windows leave the old sizer before joining the new one
  auto* mapColumn = new wxBoxSizer(wxVERTICAL);
  mapColumn->Add(m_browser.Window(), 1, wxEXPAND);
  if (m_bottom) mapColumn->Add(m_bottom, 0, wxEXPAND | wxTOP, kGap);
  auto* body = new wxBoxSizer(wxHORIZONTAL);
  if (m_side) body->Add(m_side, 0, wxEXPAND | wxRIGHT, kGap);
  body->Add(mapColumn, 1, wxEXPAND);
  auto* window = new wxBoxSizer(wxVERTICAL);
  window->AddSpacer(kTopGap);
  window->Add(body, 1, wxEXPAND | wxLEFT | wxRIGHT, kGap);
  window->Add(m_exit, 0, wxALIGN_RIGHT | wxALL, kGap);
  SetSizer(window);
  Layout();
}

bool CBigMap::Show(bool show) {
  const bool changed = wxDialog::Show(show);
  if (show && m_bOpen) CoverScreen();
  // The main window runs modally, and GTK gives a modal window every click
  // and key of the windows in its group: while shown, this window holds the
  // group's grab above it and takes its own (the map, its panels); hidden,
  // it hands them back.
  if (changed && show != m_grabbing) {
    m_grabbing = show;
    if (show) {
      gtk_grab_add(GetHandle());
    } else {
      gtk_grab_remove(GetHandle());
    }
  }
  return changed;
}

// The client area covers the whole primary display. Sized as a whole, the
// window would lose to the frame a window manager draws around a dialog the
// strip that holds the exit button; a full-screen window has no frame.
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
  // The focus does not fall back to the owner by itself when this window
  // hides: the owner's keys would go nowhere.
  if (wxWindow* owner = GetParent(); owner && owner->IsShown()) owner->Raise();
}

}  // namespace vantrel
