#pragma once
// A label lying over another control that comes and goes often (the loading
// text over the video area). GTK lays the whole window out again and repaints
// every control when a child is shown or hidden; this label stays in the
// layout and is only made see-through, so showing or hiding it repaints its
// own place and nothing else. IsShown() tells as for any window.
#include <wx/stattext.h>

namespace vantrel {

class COverlayLabel : public wxStaticText {
 public:
  COverlayLabel(wxWindow* parent, wxWindowID id, const wxString& text, const wxPoint& pos,
                const wxSize& size, long style);

  bool Show(bool show = true) override;
};

}  // namespace vantrel
