#pragma once
#include <wx/dialog.h>

namespace vantrel {

// Dialog template 100: icon, name and version, a second line, OK.
class CAboutDlg : public wxDialog {
 public:
  explicit CAboutDlg(wxWindow* parent, const wxString& secondLine);
};

}  // namespace vantrel
