#include "map/Explorer1.h"

#include <glib-object.h>
#include <stdlib.h>
#include <wx/stattext.h>

#include "map/MapBrowser.h"

namespace vantrel {

namespace {
// WebKit's "script-dialog" signal: returning TRUE means handled, so no
// dialog opens (a confirm or prompt then reads as cancelled).
gboolean suppressScriptDialog(GObject*, gpointer, gpointer) {
  return TRUE;
}
}  // namespace

CExplorer1::~CExplorer1() {
  // A view that outlives this wrapper must not call back into it.
  if (!m_view) return;
  m_view->Unbind(wxEVT_WEBVIEW_LOADED, &CExplorer1::OnLoaded, this);
  if (m_onMessage) {
    m_view->Unbind(wxEVT_WEBVIEW_SCRIPT_MESSAGE_RECEIVED, &CExplorer1::OnScriptMessage, this);
  }
}

void CExplorer1::Create(wxWindow* parent, int id, const wxRect& rect, const wxString& backend) {
  // WebKit's accelerated compositing leaves the view unrepainted where there
  // is no GL (virtual displays, remote sessions); a map page needs none of it.
  // Set before the first view starts its web process; the user may override.
  setenv("WEBKIT_DISABLE_COMPOSITING_MODE", "1", 0);
  if (wxWebView::IsBackendAvailable(backend)) {
    m_view = wxWebView::New(parent, id, wxWebViewDefaultURLStr, rect.GetPosition(), rect.GetSize(),
                            backend);
  }
  if (m_view) {
    prepareMapBrowser(*m_view);
    m_view->Bind(wxEVT_WEBVIEW_LOADED, &CExplorer1::OnLoaded, this);
    return;
  }
  m_notice =
      new wxStaticText(parent, id, "No web engine: the map is not available.", rect.GetPosition(),
                       rect.GetSize(), wxST_NO_AUTORESIZE | wxBORDER_SIMPLE);
}

wxWindow* CExplorer1::Window() const {
  return m_view ? static_cast<wxWindow*>(m_view.get()) : m_notice.get();
}

void CExplorer1::Navigate(const wxString& url) {
  if (!m_view) return;
  m_loaded = false;
  m_view->LoadURL(url);
}

void CExplorer1::OnLoaded(wxWebViewEvent& event) {
  // The blank page every view starts with is not a map page.
  event.Skip();
  if (event.GetURL() == wxWebViewDefaultURLStr) return;
  m_loaded = true;
  if (m_onLoaded) m_onLoaded();
}

void CExplorer1::SetMessageHandler(std::function<void(const wxString&)> handler) {
  const bool bound = static_cast<bool>(m_onMessage);
  m_onMessage = std::move(handler);
  if (!m_view || bound || !m_onMessage) return;
  m_view->AddScriptMessageHandler(kPageMessageChannel);
  m_view->EnableContextMenu(false);
  m_view->Bind(wxEVT_WEBVIEW_SCRIPT_MESSAGE_RECEIVED, &CExplorer1::OnScriptMessage, this);
}

void CExplorer1::OnScriptMessage(wxWebViewEvent& event) {
  if (m_onMessage) m_onMessage(event.GetString());
}

void CExplorer1::SetWidth(int width) {
  if (wxWindow* w = Window()) w->SetSize(width, -1);
}

void CExplorer1::SetHeight(int height) {
  if (wxWindow* w = Window()) w->SetSize(-1, height);
}

void CExplorer1::SetSilent(bool silent) {
  auto* native = m_view ? static_cast<GObject*>(m_view->GetNativeBackend()) : nullptr;
  if (!native || silent == (m_silentHandler != 0)) return;
  if (silent) {
    m_silentHandler =
        g_signal_connect(native, "script-dialog", G_CALLBACK(suppressScriptDialog), nullptr);
  } else {
    g_signal_handler_disconnect(native, m_silentHandler);
    m_silentHandler = 0;
  }
}

}  // namespace vantrel
