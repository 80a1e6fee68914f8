#include "app/AboutDlg.h"

#include <wx/button.h>
#include <wx/statbmp.h>
#include <wx/stattext.h>

#include "app/AppIcon.h"
#include "app/ControlTable.h"
#include "app/KeyTable.h"

namespace vantrel {

namespace {
// Below the template's two lines: a heading and one line per key, 8 dialog
// units each, in two columns wide enough for "Page Up / Page Down" and the
// longest action; the OK button follows them.
constexpr int kKeysTop = 40;
constexpr int kKeyLine = 9;
constexpr int kKeyWidth = 100;
constexpr int kActionWidth = 180;
constexpr int kWidth = 14 + kKeyWidth + 4 + kActionWidth + 10;
}  // namespace

CAboutDlg::CAboutDlg(wxWindow* parent, const wxString& secondLine)
    : wxDialog(parent, wxID_ANY, wxString::FromUTF8("关于 Vantrel")) {
  SetFont(wxFont(9, wxFONTFAMILY_DEFAULT, wxFONTSTYLE_NORMAL, wxFONTWEIGHT_NORMAL));
  const wxSize base(GetCharWidth(), GetCharHeight());
  auto place = [&](int x, int y, int w, int h) { return dialogRectToPixels({x, y, w, h}, base); };
  auto text = [&](const wxString& label, const wxRect& rect) {
    return new wxStaticText(this, wxID_ANY, label, rect.GetPosition(), rect.GetSize(),
                            wxST_NO_AUTORESIZE | wxST_ELLIPSIZE_END);
  };

  wxRect iconRect = place(14, 14, 21, 20);
  wxIcon icon = appIcons().GetIcon(32);
  new wxStaticBitmap(this, wxID_ANY, icon, iconRect.GetPosition(), iconRect.GetSize());
  text(wxString::FromUTF8("Vantrel，" VANTREL_VERSION " 版"), place(42, 14, 114, 8));
  text(secondLine, place(42, 26, 114, 8));

  int y = kKeysTop;
  text("Keys:", place(14, y, kKeyWidth, 8));
  for (const KeyHelp& key : windowKeys()) {
    y += kKeyLine;
    text(key.key, place(14, y, kKeyWidth, 8));
    text(key.action, place(18 + kKeyWidth, y, kActionWidth, 8))->SetToolTip(key.action);
  }
  const int okTop = y + kKeyLine + 6;
  SetClientSize(dialogSizeToPixels({kWidth, okTop + 21}, base));
  wxRect okRect = place(kWidth - 57, okTop, 50, 14);
  auto* ok = new wxButton(this, wxID_OK, wxString::FromUTF8("确定"), okRect.GetPosition(),
                          okRect.GetSize());
  ok->SetDefault();
  CentreOnParent();
}

}  // namespace vantrel
