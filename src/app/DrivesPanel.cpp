#include "app/DrivesPanel.h"

#include <wx/button.h>
#include <wx/listctrl.h>
#include <wx/settings.h>
#include <wx/sizer.h>
#include <wx/stattext.h>

#include <algorithm>
#include <filesystem>
#include <vector>

#include "app/DriveViews.h"
#include "app/LibraryTexts.h"

namespace vantrel {

namespace {

constexpr int kPanelWidth = 440;

struct Column {
  LibraryText title;
  wxListColumnFormat align;
};
constexpr Column kColumns[] = {
    {LibraryText::Date, wxLIST_FORMAT_LEFT},      {LibraryText::Time, wxLIST_FORMAT_LEFT},
    {LibraryText::Clips, wxLIST_FORMAT_RIGHT},    {LibraryText::Distance, wxLIST_FORMAT_RIGHT},
    {LibraryText::MaxSpeed, wxLIST_FORMAT_RIGHT},
};

void setRow(wxListCtrl* list, long row, const std::vector<wxString>& cells) {
  list->InsertItem(row, cells[0]);
  for (size_t c = 1; c < cells.size(); ++c) list->SetItem(row, static_cast<long>(c), cells[c]);
}

}  // namespace

CDrivesPanel::CDrivesPanel(wxWindow* parent) : wxPanel(parent, wxID_ANY) {
  SetName("DrivesPanel");
  m_title = new wxStaticText(this, wxID_ANY, "");
  m_title->SetFont(m_title->GetFont().Bold().Larger());
  m_list = new wxListCtrl(this, wxID_ANY, wxDefaultPosition, wxDefaultSize,
                          wxLC_REPORT | wxLC_SINGLE_SEL | wxBORDER_THEME);
  m_list->SetName("DrivesList");
  for (size_t c = 0; c < std::size(kColumns); ++c) {
    m_list->InsertColumn(static_cast<long>(c), "", kColumns[c].align);
  }
  m_status = new wxStaticText(this, wxID_ANY, "", wxDefaultPosition, wxDefaultSize,
                              wxST_NO_AUTORESIZE | wxST_ELLIPSIZE_END);
  m_export = new wxButton(this, wxID_ANY, "");
  m_export->SetName("ExportDrive");
  m_export->Disable();

  auto* column = new wxBoxSizer(wxVERTICAL);
  column->Add(m_title, 0, wxBOTTOM, 6);
  column->Add(m_list, 1, wxEXPAND);
  column->Add(m_status, 0, wxEXPAND | wxTOP, 6);
  column->Add(m_export, 0, wxTOP, 6);
  SetSizer(column);
  SetMinSize(wxSize(kPanelWidth, -1));
  SetLanguage(m_language);
  FitColumns();

  m_list->Bind(wxEVT_LIST_ITEM_SELECTED, &CDrivesPanel::OnSelected, this);
  m_export->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) {
    if (const std::optional<size_t> drive = SelectedDrive(); drive && m_onExport)
      m_onExport(*drive);
  });
}

void CDrivesPanel::SetLanguage(int language) {
  m_language = language;
  m_title->SetLabel(libraryText(language, LibraryText::Drives));
  for (size_t c = 0; c < std::size(kColumns); ++c) {
    wxListItem heading;
    heading.SetMask(wxLIST_MASK_TEXT);
    heading.SetText(libraryText(language, kColumns[c].title));
    m_list->SetColumn(static_cast<int>(c), heading);
  }
  m_export->SetLabel(libraryText(language, LibraryText::ExportDrive));
  Layout();
}

void CDrivesPanel::ShowDrives(const LibraryContents& contents, int unitSelection) {
  const std::optional<size_t> chosen = SelectedDrive();
  m_filling = true;
  m_list->DeleteAllItems();
  m_driveCount = contents.drives.size();
  long row = 0;
  for (const Drive& drive : contents.drives) {
    const DriveRow text = driveRow(drive, unitSelection);
    setRow(m_list, row++,
           {wxString::FromUTF8(text.date), wxString::FromUTF8(text.span),
            wxString::FromUTF8(text.clips), wxString::FromUTF8(text.distance),
            wxString::FromUTF8(text.maxSpeed)});
  }
  std::vector<const ClipRecord*> unreadable;
  for (const ClipRecord& clip : contents.clips) {
    if (clip.readable) continue;
    unreadable.push_back(&clip);
    setRow(m_list, row, {libraryText(m_language, LibraryText::Unreadable), "", "", "", ""});
    m_list->SetItemTextColour(row++, wxSystemSettings::GetColour(wxSYS_COLOUR_GRAYTEXT));
  }
  // The columns hold the drive rows and the word "unreadable" whole; a long
  // file name or reason may be cut.
  FitColumns();
  row = static_cast<long>(m_driveCount);
  for (const ClipRecord* clip : unreadable) {
    const std::string name = std::filesystem::path(clip->key.path).filename().string();
    m_list->SetItem(row, 1, wxString::FromUTF8(name));
    m_list->SetItem(row++, 3, wxString::FromUTF8(clip->reason));
  }
  m_filling = false;
  if (chosen && *chosen < m_driveCount) SelectDrive(chosen);
  m_export->Enable(SelectedDrive().has_value());
}

void CDrivesPanel::FitColumns() {
  int total = 0;
  for (int c = 0; c < m_list->GetColumnCount(); ++c) {
    m_list->SetColumnWidth(c, wxLIST_AUTOSIZE_USEHEADER);
    int width = m_list->GetColumnWidth(c);
    if (m_list->GetItemCount() > 0) {
      m_list->SetColumnWidth(c, wxLIST_AUTOSIZE);
      width = std::max(width, m_list->GetColumnWidth(c));
      m_list->SetColumnWidth(c, width);
    }
    total += width;
  }
  // Room for every column and a scroll bar beside them, whatever the
  // language's headings.
  const int frame = m_list->GetSize().x - m_list->GetClientSize().x;
  const int scrollBar = wxSystemSettings::GetMetric(wxSYS_VSCROLL_X, m_list);
  m_list->SetMinSize(wxSize(total + std::max(frame, 0) + std::max(scrollBar, 0) + 4, -1));
  SetMinSize(wxSize(std::max(kPanelWidth, m_list->GetMinSize().x), -1));
  if (GetContainingSizer()) GetParent()->Layout();
}

void CDrivesPanel::SelectDrive(std::optional<size_t> drive) {
  m_filling = true;
  const long current = m_list->GetNextItem(-1, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED);
  if (current >= 0) m_list->SetItemState(current, 0, wxLIST_STATE_SELECTED);
  if (drive && *drive < m_driveCount) {
    const long row = static_cast<long>(*drive);
    m_list->SetItemState(row, wxLIST_STATE_SELECTED, wxLIST_STATE_SELECTED);
    m_list->EnsureVisible(row);
  }
  m_filling = false;
  m_export->Enable(SelectedDrive().has_value());
}

std::optional<size_t> CDrivesPanel::SelectedDrive() const {
  const long row = m_list->GetNextItem(-1, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED);
  if (row < 0 || static_cast<size_t>(row) >= m_driveCount) return std::nullopt;
  return static_cast<size_t>(row);
}

void CDrivesPanel::SetStatus(const wxString& text) {
  m_status->SetLabelText(text);
  m_status->SetToolTip(text);
}

wxString CDrivesPanel::Status() const {
  return m_status->GetLabelText();
}

void CDrivesPanel::OnSelected(wxListEvent& event) {
  const auto row = static_cast<size_t>(event.GetIndex());
  m_export->Enable(row < m_driveCount);
  if (m_filling || row >= m_driveCount) return;
  if (m_onChoose) m_onChoose(row);
}

}  // namespace vantrel
