#pragma once
// A map browser: a wxWebView placed where the dialog's browser control sits,
// or a short notice there when no web engine is available.
#include <wx/gdicmn.h>
#include <wx/string.h>
#include <wx/weakref.h>
#include <wx/webview.h>

#include <functional>

class wxWindow;

namespace vantrel {

// The name under which a page posts texts to the program.
constexpr const char* kPageMessageChannel = "vantrel";

class CExplorer1 {
 public:
  CExplorer1() = default;
  CExplorer1(const CExplorer1&) = delete;
  CExplorer1& operator=(const CExplorer1&) = delete;
  ~CExplorer1();

  // Creates the browser as a child of parent at rect (pixels), with the named
  // web view backend when it is available.
  void Create(wxWindow* parent, int id, const wxRect& rect,
              const wxString& backend = wxWebViewBackendDefault);
  // Starts loading url; returns at once.
  void Navigate(const wxString& url);
  // The page the browser has finished loading since the last Navigate, or
  // nullptr while it loads (or when there is no web engine).
  wxWebView* Document() const { return m_loaded ? m_view.get() : nullptr; }
  wxWindow* Window() const;
  void SetWidth(int width);
  void SetHeight(int height);
  // Silent: the page's own dialogs (alert, confirm, prompt) are suppressed.
  void SetSilent(bool silent);
  // Called each time the page of a Navigate has finished loading.
  void SetLoadedHandler(std::function<void()> handler) { m_onLoaded = std::move(handler); }
  // Called with each text the page posts to the program
  // (window.webkit.messageHandlers.vantrel.postMessage). The browser's own
  // context menu goes, so that a right-click belongs to the page.
  void SetMessageHandler(std::function<void(const wxString&)> handler);

 private:
  void OnLoaded(wxWebViewEvent& event);
  void OnScriptMessage(wxWebViewEvent& event);

  wxWeakRef<wxWebView> m_view;   // deleted by its parent window, maybe before this
  wxWeakRef<wxWindow> m_notice;  // shown instead when no web engine exists
  std::function<void()> m_onLoaded;
  std::function<void(const wxString&)> m_onMessage;  // bound to the view once set
  bool m_loaded = false;                             // the page of the last Navigate has loaded
  unsigned long m_silentHandler = 0;                 // signal handler id while silent
};

}  // namespace vantrel
