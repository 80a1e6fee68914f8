#include "app/AboutDlg.h"

#include <wx/button.h>
#include <wx/statbmp.h>
#include <wx/stattext.h>

#include "app/AppIcon.h"
#include "app/ControlTable.h"

namespace vantrel {

CAboutDlg::CAboutDlg(wxWindow* parent, const wxString& secondLine)
    : wxDialog(parent, wxID_ANY, wxString::FromUTF8("关于 Vantrel")) {
  SetFont(wxFont(9, wxFONTFAMILY_DEFAULT, wxFONTSTYLE_NORMAL, wxFONTWEIGHT_NORMAL));
  const wxSize base(GetCharWidth(), GetCharHeight());
  auto place = [&](int x, int y, int w, int h) { return dialogRectToPixels({x, y, w, h}, base); };
  SetClientSize(dialogSizeToPixels({170, 62}, base));

  wxRect iconRect = place(14, 14, 21, 20);
  wxIcon icon = appIcons().GetIcon(32);
  new wxStaticBitmap(this, wxID_ANY, icon, iconRect.GetPosition(), iconRect.GetSize());
  wxRect nameRect = place(42, 14, 114, 8);
  new wxStaticText(this, wxID_ANY, wxString::FromUTF8("Vantrel，1.0 版"), nameRect.GetPosition(),
                   nameRect.GetSize(), wxST_NO_AUTORESIZE);
  wxRect lineRect = place(42, 26, 114, 8);
  new wxStaticText(this, wxID_ANY, secondLine, lineRect.GetPosition(), lineRect.GetSize(),
                   wxST_NO_AUTORESIZE | wxST_ELLIPSIZE_END);
  wxRect okRect = place(113, 41, 50, 14);
  auto* ok = new wxButton(this, wxID_OK, wxString::FromUTF8("确定"), okRect.GetPosition(),
                          okRect.GetSize());
  ok->SetDefault();
  CentreOnParent();
}

}  // namespace vantrel
