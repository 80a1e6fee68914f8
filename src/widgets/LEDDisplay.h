#pragma once
// A readout that shows a short text as seven-segment LED digits: the lit
// strokes of each character over the dim strokes of an unlit eight, on a
// solid background.
#include <wx/control.h>

#include <array>

namespace vantrel {

struct LedMetrics;

class CLEDDisplay : public wxControl {
 public:
  CLEDDisplay(wxWindow* parent, wxWindowID id, const wxPoint& pos = wxDefaultPosition,
              const wxSize& size = wxDefaultSize, long style = 0);

  // Stores text as it is and repaints. Safe from any thread: a call off the
  // UI thread is carried out there, in calling order.
  void SetText(const wxString& text);
  // Format with the integer format, or the float one (the value widened to double).
  void SetNumber(int value);
  void SetNumber(float value);
  // index 0: the integer format, 1: the float format. A format is taken only
  // when it converts exactly one argument of that kind; others are ignored,
  // so no format can read an argument that is not there. Returns whether taken.
  bool SetNumberFormat(const wxString& format, int index);
  // index 0: background, 1: lit strokes, 2: unlit strokes; others are ignored.
  void SetColor(int index, const wxColour& colour, bool redraw = true);
  void SetShowOffSegments(bool show, bool redraw = true);
  // A value of 0 or less keeps that margin.
  void SetMargins(int left, int top, bool redraw = true);
  // A height above 0 replaces the client height as the digit height.
  void SetDigitHeight(int height, bool redraw = true);

  const wxString& GetText() const { return m_text; }
  // Empty for an index other than 0 or 1.
  wxString GetNumberFormat(int index) const;
  // The unlit colour in use (set, or derived from the lit one); wxNullColour
  // for an index other than 0 to 2.
  wxColour GetColor(int index) const;
  wxPoint GetMargins() const { return {m_leftMargin, m_topMargin}; }
  // The height the strokes are sized for.
  int DigitHeight() const;

 protected:
  wxSize DoGetBestSize() const override;
  wxBorder GetDefaultBorder() const override { return wxBORDER_NONE; }
  bool AcceptsFocus() const override { return false; }

 private:
  void DrawCode(wxDC& dc, int code, int x, const wxColour& colour, const LedMetrics& m) const;
  void OnPaint(wxPaintEvent& event);

  std::array<wxColour, 3> m_colors{wxColour(0, 0, 0), wxColour(0, 255, 0), wxColour()};
  wxString m_text = "0";
  std::array<wxString, 2> m_formats{"%3d", "%.2f"};
  bool m_showOffSegments = true;
  bool m_offColorSet = false;
  bool m_useFixedHeight = false;
  int m_fixedHeight = 0;
  int m_leftMargin = 18;
  int m_topMargin = 2;
};

}  // namespace vantrel
