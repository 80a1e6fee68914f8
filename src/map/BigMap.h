#pragma once
// The large map: a window that covers the screen with a map browser, the
// owner's panels beside and under it, and an exit button, laid out with
// sizers. Created once, on first use, and reused: opening lays it out and
// loads the page anew; closing it (exit button, Escape, the window manager)
// hides it and unloads the page.
#include <wx/dialog.h>

#include "map/Explorer1.h"

class wxButton;

namespace vantrel {

class CBigMap : public wxDialog {
 public:
  // owner: the main window.
  explicit CBigMap(wxWindow* owner, const wxString& backend = wxWebViewBackendDefault);

  // Opens the window: covers the screen, lays out the panels, the browser
  // and the exit button (labelled exitText), loads pageUrl, sets m_bOpen.
  // Returns true.
  bool OnInitDialog(const wxString& pageUrl, const wxString& exitText);
  // Panels of the owner, made as children of this window: side to the left
  // of the map, bottom under it. Either may be null.
  void SetPanels(wxWindow* side, wxWindow* bottom);
  CExplorer1& Browser() { return m_browser; }
  // Showing places the window over the screen again: GTK centres a dialog on
  // its owner when it maps it.
  bool Show(bool show = true) override;
  // Closes the window as its exit button does: flags cleared, page unloaded.
  void CloseMap();

  // The window is open and initialised.
  bool m_bOpen = false;
  // The route has been sent to the open page.
  bool m_bRouteReady = false;

 private:
  void OnOK(wxCommandEvent& event);
  void OnCancel(wxCommandEvent& event);
  void OnCharHook(wxKeyEvent& event);
  void OnCloseWindow(wxCloseEvent& event);

  void LayOut();
  void CoverScreen();

  CExplorer1 m_browser;
  wxButton* m_exit = nullptr;
  wxWindow* m_side = nullptr;
  wxWindow* m_bottom = nullptr;
  bool m_grabbing = false;  // holds the window group's grab while shown
  wxRect m_screen;          // the primary display, as OnInitDialog found it

  wxDECLARE_EVENT_TABLE();
};

}  // namespace vantrel
