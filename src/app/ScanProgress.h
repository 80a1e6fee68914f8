#pragma once
// The bar that shows a folder's scan into the library while it runs: how
// many clips are done of how many, and a button that cancels it. The window
// polls the scan and feeds the counts in; nothing here blocks.
#include <wx/panel.h>

#include <functional>

class wxButton;
class wxGauge;
class wxStaticText;

namespace vantrel {

class CScanProgress : public wxPanel {
 public:
  CScanProgress(wxWindow* parent, const wxPoint& position, const wxSize& size,
                std::function<void()> onCancel);

  // The texts in language (a language box index).
  void SetLanguage(int language);
  void SetCounts(size_t done, size_t total);
  // "Reading clips: 120 of 2000".
  wxString Text() const;
  int GaugeValue() const;
  int GaugeRange() const;

 private:
  wxStaticText* m_text = nullptr;
  wxGauge* m_gauge = nullptr;
  wxButton* m_cancel = nullptr;
  std::function<void()> m_onCancel;
  int m_language = -1;  // English
  size_t m_done = 0;
  size_t m_total = 0;
};

}  // namespace vantrel
