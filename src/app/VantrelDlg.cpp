#include "app/VantrelDlg.h"

#include <wx/button.h>
#include <wx/choice.h>
#include <wx/listbox.h>
#include <wx/menu.h>
#include <wx/panel.h>
#include <wx/stattext.h>

#include <algorithm>

#include "app/AboutDlg.h"
#include "app/AppIcon.h"
#include "app/ControlTable.h"
#include "app/Dirs.h"
#include "app/OverlayLabel.h"
#include "app/PlaylistDropTarget.h"
#include "app/VideoPanel.h"
#include "engine/Messages.h"
#include "engine/PlayerState.h"
#include "widgets/BitmapSlider.h"
#include "widgets/LEDDisplay.h"
#include "widgets/Meter.h"
#include "widgets/SliderBitmaps.h"

namespace vantrel {

// clang-format off
wxBEGIN_EVENT_TABLE(CVantrelDlg, wxDialog)
  EVT_INIT_DIALOG(CVantrelDlg::OnInitDialogEvent)
  EVT_CONTEXT_MENU(CVantrelDlg::OnContextMenu)
  EVT_CHAR_HOOK(CVantrelDlg::OnCharHook)
  // Every button and context-menu item is a command of the table.
  EVT_BUTTON(wxID_ANY, CVantrelDlg::OnCommandButton)
  EVT_MENU_RANGE(kFirstCommandMenuId, kFirstCommandMenuId + 999, CVantrelDlg::OnCommandMenu)
  EVT_UPDATE_UI(wxID_ANY, CVantrelDlg::OnUpdateCommandUI)
  EVT_THREAD(WM_GPS_SYNC, CVantrelDlg::OnGpsSync)
  EVT_CHOICE(IDC_SPEED_UNIT, CVantrelDlg::OnSpeedUnitChange)
  EVT_LISTBOX_DCLICK(IDC_PLAYLIST, CVantrelDlg::OnPlaylistDoubleClick)
  EVT_CHOICE(IDC_LANGUAGE, CVantrelDlg::OnLanguageChosenEvent)
  EVT_TIMER(kStartPlaybackTimer, CVantrelDlg::OnStartPlaybackTimer)
  EVT_TIMER(kElapsedTimer, CVantrelDlg::OnElapsedTimer)
  EVT_TIMER(kClipProgressTimer, CVantrelDlg::OnClipProgressTimer)
  EVT_TIMER(kLibraryTimer, CVantrelDlg::OnLibraryTimer)
  EVT_THREAD(WM_SLIDER_SET, CVantrelDlg::OnSliderSet)
  EVT_THREAD(WM_SLIDER_TRACK, CVantrelDlg::OnSliderTrack)
wxEND_EVENT_TABLE()
    // clang-format on

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

CVantrelDlg::~CVantrelDlg() {
  StopPlaybackForExit();
}

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
      case ControlKind::Label: {
        // A translation longer than its label ends in an ellipsis instead of
        // wrapping out of sight.
        const long style = wxST_NO_AUTORESIZE | wxST_ELLIPSIZE_END |
                           ((spec.flags & kCentered) ? wxALIGN_CENTRE_HORIZONTAL : 0);
        if (spec.flags & kOverlay) {
          control =
              new COverlayLabel(this, spec.id, text, rect.GetPosition(), rect.GetSize(), style);
        } else {
          control =
              new wxStaticText(this, spec.id, text, rect.GetPosition(), rect.GetSize(), style);
        }
        break;
      }
      case ControlKind::ComboBox:
        control = new wxChoice(this, spec.id, rect.GetPosition(), wxSize(rect.width, -1), 0,
                               nullptr, (spec.flags & kSorted) ? wxCB_SORT : 0);
        // The template's height includes the drop-down list; a GTK box is
        // taller than the row it stands in when closed, and is kept within it.
        control->SetSize(rect.width, std::min(rect.height, control->GetSize().y));
        break;
      case ControlKind::Video:
        control = m_video =
            new VideoPanel(this, spec.id, rect.GetPosition(), rect.GetSize(), border);
        break;
      case ControlKind::Browser:
        m_map.Create(this, spec.id, rect);
        control = m_map.Window();
        break;
      case ControlKind::Meter:
        control = new CMeter(this, spec.id, rect.GetPosition(), rect.GetSize(), border);
        break;
      case ControlKind::Readout:
        control = new CLEDDisplay(this, spec.id, rect.GetPosition(), rect.GetSize(), border);
        break;
      case ControlKind::Slider:
        control = new CBitmapSlider(this, spec.id, rect.GetPosition(), rect.GetSize(), border);
        break;
    }
    control->SetName(spec.name);
    if (spec.flags & kDisabled) control->Disable();
    if (spec.flags & kHidden) control->Hide();
  }
  m_speedUnit = static_cast<wxChoice*>(FindWindow(IDC_SPEED_UNIT));
  m_meter = static_cast<CMeter*>(FindWindow(IDC_METER));
  m_ledTime = static_cast<CLEDDisplay*>(FindWindow(IDC_LED_TIME));
  m_ledLatitude = static_cast<CLEDDisplay*>(FindWindow(IDC_LED_LATITUDE));
  m_ledLongitude = static_cast<CLEDDisplay*>(FindWindow(IDC_LED_LONGITUDE));
  m_ledSpeed = static_cast<CLEDDisplay*>(FindWindow(IDC_LED_SPEED));
  m_ledAvgSpeed = static_cast<CLEDDisplay*>(FindWindow(IDC_LED_AVG_SPEED));
  m_ledDistance = static_cast<CLEDDisplay*>(FindWindow(IDC_LED_DISTANCE));
  m_ledMaxSpeed = static_cast<CLEDDisplay*>(FindWindow(IDC_LED_MAX_SPEED));
  m_progress = static_cast<CBitmapSlider*>(FindWindow(IDC_PROGRESS));
  m_volume = static_cast<CBitmapSlider*>(FindWindow(IDC_VOLUME));
  m_languageBox = static_cast<wxChoice*>(FindWindow(IDC_LANGUAGE));
  m_playlistBox = static_cast<wxListBox*>(FindWindow(IDC_PLAYLIST));
  m_playlistBox->SetDropTarget(
      new PlaylistDropTarget([this](const wxArrayString& paths) { return OnDropFiles(paths); }));
  CreatePlaybackSpeedLabel();
}

bool CVantrelDlg::OnInitDialog() {
  InitAboutMenu();
  InitIcons();
  InitDirectories();
  InitSettings();
  InitSpeedUnitBox();
  InitLanguageBox();
  InitMeter();
  InitLanguageTexts();
  InitProgressSlider();
  CaptureControlLayout();
  FindWindow(IDC_LOADING)->Hide();
  InitVolumeSlider();
  ApplySettings();  // before the dashboard's reset, which gives the idle look
  NavigateSmallMap();
  ResetDashboard();
  CheckWebEngine();
  return true;
}

void CVantrelDlg::InitAboutMenu() {
  m_aboutItemText = wxString::FromUTF8("关于 Vantrel(&A)...");
}

void CVantrelDlg::InitIcons() {
  SetIcons(appIcons());
}

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

void CVantrelDlg::InitMeter() {
  m_meter->SetNeedleColor(wxColour(255, 0, 0));
  m_meter->SetShowColorBands(true);
  m_meter->SetRange(0.0, 240.0);
  m_meter->SetScaleDecimals(0);
  m_meter->SetValueDecimals(2);
  m_meter->SetMajorTicks(12);
  m_meter->SetMinorTicks(10);
  m_meter->SetUnits("KMH");
  m_meter->SetValue(0.0);
}

void CVantrelDlg::InitProgressSlider() {
  // Opaque groove; the thumb keyed on its own top-left pixel; no focus
  // rectangle; an empty range until a recording plays.
  m_progress->SetBitmapChannel(IDB_PROGRESS_CHANNEL, IDB_PROGRESS_CHANNEL_ACTIVE, false,
                               kKeyFromPixel, 0, 0);
  m_progress->SetBitmapThumb(IDB_PROGRESS_THUMB, IDB_PROGRESS_THUMB_ACTIVE, true, kKeyFromPixel, 0,
                             0);
  m_progress->DrawFocusRect(false, false);
  m_progress->SetRange(0, 0, false);
  m_progress->SetPos(0);
  m_progress->SetMargin(2, 3, 2, 0);
  m_progress->SetPageSize(1);
}

void CVantrelDlg::InitVolumeSlider() {
  // See-through bars keyed on their top-left pixel, no thumb.
  m_volume->SetBitmapChannel(IDB_VOLUME_CHANNEL, IDB_VOLUME_CHANNEL_ACTIVE, true, kKeyFromPixel, 0,
                             0);
  m_volume->SetRange(0, 128, false);
  m_player.volume = 80;  // the mixing volume follows this slider
  m_volume->SetPos(80);
  m_volume->SetMarginLeft(8);
  m_volume->SetMarginRight(8);
  m_volume->SetPageSize(1);
}

void CVantrelDlg::ShowStatus(const wxString& note) {
  m_statusNote = note;
  m_statusProblem = m_playbackProblem = false;
  SetStatusLine(note);
}

void CVantrelDlg::ShowProblem(const wxString& text) {
  m_statusProblem = true;
  m_playbackProblem = false;
  SetStatusLine(text);
}

void CVantrelDlg::ClearProblem() {
  if (!m_statusProblem) return;
  m_statusProblem = m_playbackProblem = false;
  SetStatusLine(m_statusNote);
}

void CVantrelDlg::SetStatusLine(const wxString& text) {
  auto* status = static_cast<wxStaticText*>(FindWindow(IDC_STATUS));
  status->SetLabelText(text);  // paths may hold '&', which is no mnemonic here
  status->Show(!text.empty());
}

void CVantrelDlg::OnInitDialogEvent(wxInitDialogEvent&) {
  // Already initialised in the constructor; only move the focus as the
  // framework does after initialisation.
  if (wxWindow* first = FindWindow(IDC_PLAYLIST)) first->SetFocus();
}

void CVantrelDlg::OnSysCommand(int command) {
  if ((command & 0xFFF0) == IDM_ABOUTBOX) {
    CAboutDlg about(this, m_webEngineText);
    about.ShowModal();
  }
}

void CVantrelDlg::EndModal(int retCode) {
  StopPlaybackForExit();
  wxDialog::EndModal(retCode);
}

}  // namespace vantrel
