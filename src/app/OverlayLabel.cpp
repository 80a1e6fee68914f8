#include "app/OverlayLabel.h"

#include <gtk/gtk.h>

namespace vantrel {

COverlayLabel::COverlayLabel(wxWindow* parent, wxWindowID id, const wxString& text,
                             const wxPoint& pos, const wxSize& size, long style)
    : wxStaticText(parent, id, text, pos, size, style) {}

bool COverlayLabel::Show(bool show) {
  // Only the flag IsShown() reads: the toolkit's widget stays shown.
  if (!wxWindowBase::Show(show)) return false;
  gtk_widget_set_opacity(GetHandle(), show ? 1.0 : 0.0);
  return true;
}

}  // namespace vantrel
