#include "map/Explorer1.h"

#include <wx/stattext.h>
#include <wx/webview.h>

namespace vantrel {

void CExplorer1::Create(wxWindow* parent, int id, const wxRect& rect) {
  if (wxWebView::IsBackendAvailable(wxWebViewBackendDefault)) {
    m_view = wxWebView::New(parent, id, wxWebViewDefaultURLStr, rect.GetPosition(), rect.GetSize());
  }
  if (!m_view) {
    m_notice = new wxStaticText(parent, id, "No web engine: the map is not available.",
                                rect.GetPosition(), rect.GetSize(), wxST_NO_AUTORESIZE | wxBORDER_SIMPLE);
  }
}

wxWindow* CExplorer1::Window() const {
  return m_view ? static_cast<wxWindow*>(m_view) : m_notice;
}

void CExplorer1::Navigate(const wxString& url) {
  if (m_view) m_view->LoadURL(url);
}

void CExplorer1::SetWidth(int width) {
  if (wxWindow* w = Window()) w->SetSize(width, -1);
}

void CExplorer1::SetHeight(int height) {
  if (wxWindow* w = Window()) w->SetSize(-1, height);
}

}  // namespace vantrel
