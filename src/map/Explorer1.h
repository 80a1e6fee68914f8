#pragma once
// The small map's browser: a wxWebView placed where the dialog's browser
// control sits.
#include <wx/string.h>
#include <wx/gdicmn.h>

class wxWindow;
class wxWebView;

namespace vantrel {

class CExplorer1 {
 public:
  // Creates the browser as a child of parent at rect (pixels).
  void Create(wxWindow* parent, int id, const wxRect& rect);
  void Navigate(const wxString& url);
  wxWebView* Document() const { return m_view; }
  wxWindow* Window() const;
  void SetWidth(int width);
  void SetHeight(int height);

 private:
  wxWebView* m_view = nullptr;
  wxWindow* m_notice = nullptr;  // shown instead when no web engine exists
};

}  // namespace vantrel
