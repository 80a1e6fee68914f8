#include "widgets/LEDDisplay.h"

#include <wx/dcclient.h>

#include <cstdio>
#include <string_view>

#include "widgets/LEDGeometry.h"
#include "widgets/UiThread.h"

namespace vantrel {

namespace {
// Whether format holds exactly one conversion, with one of the given
// conversion letters and no '*' width or precision ("%%" is no conversion).
bool isSingleConversion(const wxString& format, const wxString& letters) {
  const std::string text = format.ToStdString();
  int conversions = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '%') continue;
    if (i + 1 < text.size() && text[i + 1] == '%') {
      ++i;
      continue;
    }
    size_t j = i + 1;
    while (j < text.size() &&
           std::string_view("-+ #0123456789.").find(text[j]) != std::string_view::npos)
      ++j;
    if (j == text.size() || letters.Find(text[j]) == wxNOT_FOUND) return false;
    ++conversions;
    i = j;
  }
  return conversions == 1;
}

template <typename Value>
wxString formatNumber(const wxString& format, Value value) {
  char buffer[128];
  std::snprintf(buffer, sizeof buffer, format.utf8_str().data(), value);
  return wxString::FromUTF8(buffer);
}
}  // namespace

CLEDDisplay::CLEDDisplay(wxWindow* parent, wxWindowID id, const wxPoint& pos, const wxSize& size,
                         long style) {
  SetBackgroundStyle(wxBG_STYLE_PAINT);
  // Created here, not by the base constructor, so GetDefaultBorder is ours.
  Create(parent, id, pos, size, style);
  Bind(wxEVT_PAINT, &CLEDDisplay::OnPaint, this);
}

wxSize CLEDDisplay::DoGetBestSize() const {
  // Room for eight digits at a 41-pixel digit height.
  const int height = m_useFixedHeight ? m_fixedHeight : 41;
  const LedMetrics m = ledMetrics(height);
  return {m_leftMargin + 8 * (m.length + 4 * m.thickness), height + m_topMargin};
}

void CLEDDisplay::SetText(const wxString& text) {
  if (deferToUiThread(this, [this, copy = text.Clone()] { SetText(copy); })) return;
  m_text = text;
  Refresh();
}

void CLEDDisplay::SetNumber(int value) {
  SetText(formatNumber(m_formats[0], value));
}

void CLEDDisplay::SetNumber(float value) {
  SetText(formatNumber(m_formats[1], static_cast<double>(value)));
}

bool CLEDDisplay::SetNumberFormat(const wxString& format, int index) {
  static const wxString kLetters[] = {"di", "fFeEgG"};
  if (index < 0 || index > 1 || !isSingleConversion(format, kLetters[index])) return false;
  m_formats[index] = format;
  return true;
}

void CLEDDisplay::SetColor(int index, const wxColour& colour, bool redraw) {
  if (index < 0 || index > 2) return;
  m_colors[index] = colour;
  if (index == 2) m_offColorSet = true;
  if (redraw) Refresh();
}

wxString CLEDDisplay::GetNumberFormat(int index) const {
  return (index == 0 || index == 1) ? m_formats[index] : wxString();
}

wxColour CLEDDisplay::GetColor(int index) const {
  if (index < 0 || index > 2) return wxNullColour;
  if (index == 2 && !m_offColorSet) return ledDimmed(m_colors[1]);
  return m_colors[index];
}

void CLEDDisplay::SetShowOffSegments(bool show, bool redraw) {
  m_showOffSegments = show;
  if (redraw) Refresh();
}

void CLEDDisplay::SetMargins(int left, int top, bool redraw) {
  if (left > 0) m_leftMargin = left;
  if (top > 0) m_topMargin = top;
  if (redraw) Refresh();
}

void CLEDDisplay::SetDigitHeight(int height, bool redraw) {
  if (height <= 0) return;
  m_fixedHeight = height;
  m_useFixedHeight = true;
  InvalidateBestSize();
  if (redraw) Refresh();
}

int CLEDDisplay::DigitHeight() const {
  return m_useFixedHeight ? m_fixedHeight : GetClientSize().y;
}

void CLEDDisplay::OnPaint(wxPaintEvent&) {
  wxPaintDC dc(this);
  const wxRect client = GetClientRect();
  dc.SetPen(*wxTRANSPARENT_PEN);
  dc.SetBrush(wxBrush(m_colors[0]));
  dc.DrawRectangle(client);
  // Sized at every paint, so a new height or a resize takes effect at once.
  const LedMetrics m = ledMetrics(DigitHeight());
  const wxColour lit = m_colors[1], unlit = GetColor(2);
  for (const LedCell& cell : ledCells(m_text, m, m_leftMargin, m_showOffSegments)) {
    if (cell.unlitEight) DrawCode(dc, kLedUnlitEight, cell.x, unlit, m);
    if (cell.code) DrawCode(dc, cell.code, cell.x, lit, m);
  }
}

void CLEDDisplay::DrawCode(wxDC& dc, int code, int x, const wxColour& colour,
                           const LedMetrics& m) const {
  dc.SetPen(wxPen(colour, m.penWidth));  // round ends, as wide strokes have
  for (const LedStroke& stroke : ledStrokes(code, x, m_topMargin, m)) {
    dc.DrawLine(stroke.from, stroke.to);
  }
  dc.SetBrush(wxBrush(colour));  // a dot is solid in the stroke colour
  for (const wxRect& dot : ledDots(code, x, m_topMargin, m)) dc.DrawEllipse(dot);
}

}  // namespace vantrel
