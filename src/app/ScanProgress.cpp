#include "app/ScanProgress.h"

#include <wx/button.h>
#include <wx/gauge.h>
#include <wx/settings.h>
#include <wx/sizer.h>
#include <wx/stattext.h>

#include <algorithm>

#include "app/LibraryTexts.h"

namespace vantrel {

CScanProgress::CScanProgress(wxWindow* parent, const wxPoint& position, const wxSize& size,
                             std::function<void()> onCancel)
    : wxPanel(parent, wxID_ANY, position, size, wxBORDER_SIMPLE), m_onCancel(std::move(onCancel)) {
  SetName("ScanProgress");
  // It lies over the black video: without colours of its own the text
  // would be the theme's dark grey on black.
  SetBackgroundColour(wxSystemSettings::GetColour(wxSYS_COLOUR_BTNFACE));
  SetForegroundColour(wxSystemSettings::GetColour(wxSYS_COLOUR_BTNTEXT));
  m_text = new wxStaticText(this, wxID_ANY, "", wxDefaultPosition, wxDefaultSize,
                            wxST_NO_AUTORESIZE | wxST_ELLIPSIZE_END);
  m_gauge = new wxGauge(this, wxID_ANY, 1, wxDefaultPosition, wxDefaultSize,
                        wxGA_HORIZONTAL | wxGA_SMOOTH);
  m_cancel = new wxButton(this, wxID_CANCEL, libraryText(m_language, LibraryText::Cancel),
                          wxDefaultPosition, wxDefaultSize, wxBU_EXACTFIT);
  m_cancel->SetName("ScanCancel");
  auto* row = new wxBoxSizer(wxHORIZONTAL);
  row->Add(m_text, 2, wxALIGN_CENTER_VERTICAL | wxLEFT | wxRIGHT, 6);
  row->Add(m_gauge, 3, wxALIGN_CENTER_VERTICAL | wxRIGHT, 6);
  row->Add(m_cancel, 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, 2);
  SetSizer(row);
  Layout();
  m_cancel->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) {
    if (m_onCancel) m_onCancel();
  });
}

void CScanProgress::SetLanguage(int language) {
  m_language = language;
  m_cancel->SetLabel(libraryText(language, LibraryText::Cancel));
  SetCounts(m_done, m_total);
  Layout();
}

void CScanProgress::SetCounts(size_t done, size_t total) {
  m_done = done;
  m_total = total;
  const int range = static_cast<int>(std::max<size_t>(total, 1));
  if (m_gauge->GetRange() != range) m_gauge->SetRange(range);
  m_gauge->SetValue(static_cast<int>(std::min(done, total)));
  m_text->SetLabel(
      wxString::Format(libraryText(m_language, LibraryText::ReadingCounts), done, total));
}

wxString CScanProgress::Text() const {
  return m_text->GetLabel();
}

int CScanProgress::GaugeValue() const {
  return m_gauge->GetValue();
}

int CScanProgress::GaugeRange() const {
  return m_gauge->GetRange();
}

}  // namespace vantrel
