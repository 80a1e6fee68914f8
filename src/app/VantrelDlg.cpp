#include "app/VantrelDlg.h"

#include <wx/button.h>
#include <wx/choice.h>
#include <wx/listbox.h>
#include <wx/menu.h>
#include <wx/panel.h>
#include <wx/stattext.h>

#include "app/AboutDlg.h"
#include "app/AppIcon.h"
#include "app/ControlTable.h"
#include "app/Dirs.h"
#include "app/PlaylistDropTarget.h"
#include "engine/PlayerState.h"

namespace vantrel {

wxBEGIN_EVENT_TABLE(CVantrelDlg, wxDialog)
  EVT_INIT_DIALOG(CVantrelDlg::OnInitDialogEvent)
  EVT_CONTEXT_MENU(CVantrelDlg::OnContextMenu)
  EVT_MENU(IDM_ABOUTBOX, CVantrelDlg::OnAboutMenu)
  EVT_CHAR_HOOK(CVantrelDlg::OnCharHook)
  EVT_BUTTON(IDOK_EXIT, CVantrelDlg::OnOK)
  EVT_BUTTON(IDC_OPEN, CVantrelDlg::OnOpenFolder)
  EVT_LISTBOX_DCLICK(IDC_PLAYLIST, CVantrelDlg::OnPlaylistDoubleClick)
  EVT_CHOICE(IDC_LANGUAGE, CVantrelDlg::OnLanguageChosenEvent)
wxEND_EVENT_TABLE()

CVantrelDlg::CVantrelDlg(PlayerState& player, wxWindow* parent)
    : wxDialog(parent, wxID_ANY, "Vantrel", wxDefaultPosition, wxDefaultSize,
               wxCAPTION | wxSYSTEM_MENU | wxMINIMIZE_BOX | wxCLOSE_BOX),
      m_player(player) {
  SetFont(wxFont(9, wxFONTFAMILY_DEFAULT, wxFONTSTYLE_NORMAL, wxFONTWEIGHT_NORMAL));
  m_dialogBase = wxSize(GetCharWidth(), GetCharHeight());
  SetClientSize(dialogSizeToPixels(kDialogSizeDlu, m_dialogBase));
  CreateControls();
  // wxEVT_INIT_DIALOG is only sent by Show/ShowModal; run the sequence now so
  // the window is complete whether it is shown modally or not.
  OnInitDialog();
}

CVantrelDlg::~CVantrelDlg() { StopPlaybackForExit(); }

void CVantrelDlg::CreateControls() {
  for (const ControlSpec& spec : dialogControls()) {
    const wxRect rect = dialogRectToPixels(spec.dialogUnits, m_dialogBase);
    const wxString text = wxString::FromUTF8(spec.text);
    const long border = (spec.flags & kBorder) ? wxBORDER_SIMPLE : 0;
    wxWindow* control = nullptr;
    switch (spec.kind) {
      case ControlKind::ListBox:
        control = new wxListBox(this, spec.id, rect.GetPosition(), rect.GetSize(), 0, nullptr,
                                wxLB_SINGLE | wxLB_NEEDED_SB | wxLB_HSCROLL | border);
        break;
      case ControlKind::Button:
        control = new wxButton(this, spec.id, text, rect.GetPosition(), rect.GetSize());
        break;
      case ControlKind::Label:
        // A translation longer than its label ends in an ellipsis instead of
        // wrapping out of sight.
        control = new wxStaticText(this, spec.id, text, rect.GetPosition(), rect.GetSize(),
                                   wxST_NO_AUTORESIZE | wxST_ELLIPSIZE_END |
                                       ((spec.flags & kCentered) ? wxALIGN_CENTRE_HORIZONTAL : 0));
        break;
      case ControlKind::ComboBox:
        control = new wxChoice(this, spec.id, rect.GetPosition(), wxSize(rect.width, -1), 0,
                               nullptr, (spec.flags & kSorted) ? wxCB_SORT : 0);
        break;
      case ControlKind::Video:
        control = new wxPanel(this, spec.id, rect.GetPosition(), rect.GetSize(), border);
        control->SetBackgroundColour(*wxBLACK);
        break;
      case ControlKind::Browser:
        m_map.Create(this, spec.id, rect);
        control = m_map.Window();
        break;
      case ControlKind::Meter:
      case ControlKind::Readout:
      case ControlKind::Slider:
        control = new wxPanel(this, spec.id, rect.GetPosition(), rect.GetSize(), border);
        break;
    }
    control->SetName(spec.name);
    if (spec.flags & kDisabled) control->Disable();
    if (spec.flags & kHidden) control->Hide();
  }
  m_speedUnit = static_cast<wxChoice*>(FindWindow(IDC_SPEED_UNIT));
  m_languageBox = static_cast<wxChoice*>(FindWindow(IDC_LANGUAGE));
  m_playlistBox = static_cast<wxListBox*>(FindWindow(IDC_PLAYLIST));
  m_playlistBox->SetDropTarget(
      new PlaylistDropTarget([this](const wxArrayString& paths) { return OnDropFiles(paths); }));
}

bool CVantrelDlg::OnInitDialog() {
  InitAboutMenu();
  InitIcons();
  InitDirectories();
  InitSpeedUnitBox();
  InitLanguageBox();
  FindWindow(IDC_PLAY)->Disable();
  InitLanguageTexts();
  FindWindow(IDC_LOADING)->Hide();
  InitFlags();
  return true;
}

void CVantrelDlg::InitAboutMenu() { m_aboutItemText = wxString::FromUTF8("关于 Vantrel(&A)..."); }

void CVantrelDlg::InitIcons() { SetIcons(appIcons()); }

void CVantrelDlg::InitDirectories() {
  m_moduleDir = GetModuleDir();
  m_userDir = GetUserDir();
}

void CVantrelDlg::InitSpeedUnitBox() {
  // The box sorts, so "KMH" lands at index 0 and "MPH" at index 1.
  m_speedUnit->Append("MPH");
  m_speedUnit->Append("KMH");
  m_speedUnit->SetSelection(0);
}

void CVantrelDlg::InitFlags() {
  m_player.fullScreen = 0;
  m_player.screenshotBusy = 0;
}

void CVantrelDlg::ShowStatus(const wxString& text) {
  auto* status = static_cast<wxStaticText*>(FindWindow(IDC_STATUS));
  status->SetLabelText(text);
  status->Show(!text.empty());
}

void CVantrelDlg::OnInitDialogEvent(wxInitDialogEvent&) {
  // Already initialised in the constructor; only move the focus as the
  // framework does after initialisation.
  if (wxWindow* first = FindWindow(IDC_PLAYLIST)) first->SetFocus();
}

void CVantrelDlg::OnSysCommand(int command) {
  if ((command & 0xFFF0) == IDM_ABOUTBOX) {
    CAboutDlg about(this, wxString::FromUTF8("Dashcam recordings with their GPS track"));
    about.ShowModal();
  }
}

void CVantrelDlg::OnContextMenu(wxContextMenuEvent&) {
  if (m_aboutItemText.empty()) return;
  wxMenu menu;
  menu.Append(IDM_ABOUTBOX, m_aboutItemText);
  PopupMenu(&menu);
}

void CVantrelDlg::OnAboutMenu(wxCommandEvent&) { OnSysCommand(IDM_ABOUTBOX); }

void CVantrelDlg::OnCharHook(wxKeyEvent& event) {
  const int key = event.GetKeyCode();
  if (key == WXK_F1) {
    OnSysCommand(IDM_ABOUTBOX);
    return;
  }
  if (key == WXK_ESCAPE && IsModal()) {
    EndModal(wxID_CANCEL);
    return;
  }
  // Enter issues the OK command unless a push button has the focus.
  if ((key == WXK_RETURN || key == WXK_NUMPAD_ENTER) && IsModal() &&
      !wxDynamicCast(FindFocus(), wxButton)) {
    EndModal(wxID_OK);
    return;
  }
  event.Skip();
}

void CVantrelDlg::OnOK(wxCommandEvent&) {
  if (IsModal()) EndModal(wxID_OK);
}

void CVantrelDlg::EndModal(int retCode) {
  StopPlaybackForExit();
  wxDialog::EndModal(retCode);
}

void CVantrelDlg::StopPlaybackForExit() {
  if (m_player.finished.load()) return;
  requestStop(m_player);
  waitBounded([this] { return m_player.finished.load() != 0; });
}

}  // namespace vantrel
