#include "widgets/Meter.h"

#include <wx/dcclient.h>
#include <wx/dcmemory.h>
#include <wx/settings.h>

#include "widgets/GCMemDC.h"
#include "widgets/UiThread.h"

namespace vantrel {

namespace {
const wxColour kRimInner(255, 255, 255);
const wxColour kRimOuter(250, 120, 20);

// A font whose cell (ascent + descent) is height pixels, in the manner of a
// positive height given to CreateFont.
wxFont cellHeightFont(wxDC& dc, int height) {
  auto make = [](int pixels) {
    return wxFont(
        wxFontInfo(wxSize(0, std::max(1, pixels))).Family(wxFONTFAMILY_SWISS).FaceName("Arial"));
  };
  wxFont font = make(height);
  wxCoord width = 0, cell = 0;
  dc.GetTextExtent("0", &width, &cell, nullptr, nullptr, &font);
  if (cell > height && cell > 0) font = make(height * height / cell);
  return font;
}

void drawAlignedText(wxDC& dc, const wxString& text, const wxPoint& at, int align) {
  wxCoord width = 0, height = 0, descent = 0;
  dc.GetTextExtent(text, &width, &height, &descent);
  dc.DrawText(text, alignedTextOrigin(at, align, wxSize(width, height), descent));
}
}  // namespace

CMeter::CMeter(wxWindow* parent, wxWindowID id, const wxPoint& pos, const wxSize& size, long style)
    : m_bandColors{wxColour(0, 255, 0), wxColour(120, 255, 0), wxColour(255, 255, 0),
                   wxColour(255, 120, 0), wxColour(255, 0, 0)} {
  SetBackgroundStyle(wxBG_STYLE_PAINT);
  // Created here, not by the base constructor, so GetDefaultBorder is ours.
  Create(parent, id, pos, size, style);
  Bind(wxEVT_PAINT, &CMeter::OnPaint, this);
  Bind(wxEVT_SIZE, &CMeter::OnSize, this);
}

wxSize CMeter::DoGetBestSize() const {
  return FromDIP(wxSize(249, 234));
}

void CMeter::DiscardFace() {
  m_face = wxNullBitmap;
  Refresh();
}

void CMeter::SetAngleRange(int start, int end) {
  m_scale.startAngle = start;
  m_scale.endAngle = end;
  DiscardFace();
}

void CMeter::SetMinorTicks(int count) {
  m_scale.minorTicks = count;
  DiscardFace();
}

void CMeter::SetMajorTicks(int count) {
  m_scale.majorTicks = count;
  DiscardFace();
}

void CMeter::SetShowColorBands(bool show) {
  m_showColorBands = show;
  DiscardFace();
}

void CMeter::SetValueDecimals(int count) {
  m_valueDecimals = count;
  DiscardFace();
}

void CMeter::SetUnits(const wxString& units) {
  m_units = units;
  DiscardFace();
}

void CMeter::SetScaleDecimals(int count) {
  m_scaleDecimals = count;
  DiscardFace();
}

void CMeter::SetRange(double min, double max) {
  m_scale.minValue = min;
  m_scale.maxValue = max;
  DiscardFace();
}

void CMeter::SetNeedleColor(const wxColour& colour) {
  m_needleColor = colour;
  DiscardFace();
}

void CMeter::SetValue(double value) {
  if (deferToUiThread(this, [this, value] { SetValue(value); })) return;
  m_value = value;
  Refresh();
}

void CMeter::OnSize(wxSizeEvent& event) {
  DiscardFace();
  event.Skip();
}

void CMeter::OnPaint(wxPaintEvent&) {
  wxPaintDC dc(this);
  const wxRect client = GetClientRect();
  if (client.IsEmpty()) return;
  GCMemDC buffer(dc, client, true);
  wxDC& out = buffer.DC();
  if (!m_face.IsOk()) DrawFace(dc, client);
  out.DrawBitmap(m_face, client.GetPosition());
  DrawNeedle(out);
  DrawHub(out);
  DrawValueText(out);
}

void CMeter::DrawFace(const wxDC& like, const wxRect& client) {
  m_layout = meterLayout(client, m_scale);
  m_needleClip = wxRegion(m_layout.tickOuter.size(), m_layout.tickOuter.data(), wxODDEVEN_RULE);
  m_colours = {wxSystemSettings::GetColour(wxSYS_COLOUR_WINDOW),
               wxSystemSettings::GetColour(wxSYS_COLOUR_BTNHIGHLIGHT),
               wxSystemSettings::GetColour(wxSYS_COLOUR_BTNSHADOW),
               wxSystemSettings::GetColour(wxSYS_COLOUR_BTNFACE)};
  m_face.Create(client.width, client.height, like);
  wxMemoryDC dc(m_face);
  dc.SetLogicalOrigin(client.x, client.y);
  dc.SetPen(*wxBLACK_PEN);
  dc.SetBrush(wxBrush(m_colours.face));
  dc.DrawRectangle(client);  // the face with a one-pixel black border
  dc.SetBrush(*wxTRANSPARENT_BRUSH);
  DrawRim(dc);
  if (m_showColorBands) DrawBands(dc);
  DrawTicks(dc);
  DrawLabels(dc);
}

void CMeter::DrawRim(wxDC& dc) const {
  const MeterLayout& l = m_layout;
  // Widest, orange pen first: orange at the rim's edges, nearly white along R.
  for (int s = l.band; s >= 1; --s) {
    dc.SetPen(wxPen(blendColour(kRimInner, kRimOuter, s, l.band), 2 * s));
    dc.DrawArc(l.arcEnd, l.arcStart, l.center);
  }
  dc.SetPen(wxPen(wxColour(255, 255, 0), 1));
  dc.DrawArc(l.innerArcEnd, l.innerArcStart, l.center);
}

void CMeter::DrawBands(wxDC& dc) const {
  for (int b = 0; b < kBandCount; ++b) {
    const std::vector<wxPoint> polygon = bandPolygon(m_layout, b);
    dc.SetPen(wxPen(m_bandColors[b], 1));
    dc.SetBrush(wxBrush(m_bandColors[b]));
    dc.DrawPolygon(polygon.size(), polygon.data());
  }
  dc.SetBrush(*wxTRANSPARENT_BRUSH);
}

void CMeter::DrawTicks(wxDC& dc) const {
  dc.SetPen(*wxBLACK_PEN);
  for (size_t i = 0; i < m_layout.tickOuter.size(); ++i) {
    dc.DrawLine(m_layout.tickOuter[i], m_layout.tickInner[i]);
  }
}

void CMeter::DrawLabels(wxDC& dc) const {
  const int h = m_layout.labelHeight;
  dc.SetFont(cellHeightFont(dc, h));
  dc.SetTextForeground(*wxBLACK);
  dc.SetBackgroundMode(wxBRUSHSTYLE_TRANSPARENT);
  const int major = std::max(1, m_scale.majorTicks);
  const size_t minor = std::max(1, m_scale.minorTicks);
  const double span = m_scale.maxValue - m_scale.minValue;
  for (int n = 0; n <= major; ++n) {
    const size_t tick = n * minor;
    if (tick >= m_layout.tickInner.size()) break;  // more divisions than ticks that fit
    const double value = m_scale.minValue + span * n / major;
    const LabelPlacement place =
        labelPlacement(labelAngle(m_scale, n), m_layout.tickInner[tick], h);
    drawAlignedText(dc, wxString::Format("%.*f", m_scaleDecimals, value), place.position,
                    place.align);
  }
}

void CMeter::DrawNeedle(wxDC& dc) const {
  const double angle = needleAngle(m_value, m_scale);
  const std::array<wxPoint, 4> p =
      needlePoints(m_layout.center, m_layout.radius, m_layout.unit, angle);
  {
    // Clipped to the tick circle, so the fill stops at the ticks and above
    // the chord between the first and the last tick.
    dc.SetDeviceClippingRegion(m_needleClip);
    dc.SetPen(wxPen(m_needleColor, 1));
    dc.SetBrush(wxBrush(m_needleColor));
    dc.DrawPolygon(p.size(), p.data());
    dc.DestroyClippingRegion();
  }
  // Bevel: the shadow on the side away from the light, which is upper left.
  const bool leftOfVertical = angle > 90;
  const wxPoint shadowSide = leftOfVertical ? p[0] : p[2];
  const wxPoint lightSide = leftOfVertical ? p[2] : p[0];
  const wxPoint shadow[] = {p[1], shadowSide, p[3]};
  const wxPoint light[] = {p[1], lightSide, p[3]};
  dc.SetPen(wxPen(m_colours.shadow, 2));
  dc.DrawLines(3, shadow);
  dc.SetPen(wxPen(m_colours.highlight, 1));
  dc.DrawLines(3, light);
}

void CMeter::DrawHub(wxDC& dc) const {
  const int unit = m_layout.unit;
  dc.SetBrush(*wxTRANSPARENT_BRUSH);
  // White in the middle, darkening toward the edge.
  for (int s = unit * 3 / 4; s >= 0; --s) {
    dc.SetPen(wxPen(blendColour(*wxWHITE, *wxBLACK, s * 4, unit * 3), 1));
    dc.DrawCircle(m_layout.center, s);
  }
}

void CMeter::DrawValueText(wxDC& dc) const {
  dc.SetFont(cellHeightFont(dc, m_layout.valueHeight));
  dc.SetBackgroundMode(wxBRUSHSTYLE_SOLID);  // the texts sit on face-coloured boxes
  dc.SetTextBackground(m_colours.face);
  dc.SetTextForeground(*wxBLACK);
  const wxPoint p = m_layout.valueRect.GetPosition() +
                    wxPoint(m_layout.valueRect.width / 2, m_layout.valueRect.height / 2);
  drawAlignedText(dc, m_units, p, kAlignCenter | kAlignTop);
  drawAlignedText(dc, wxString::Format("%.*f", m_valueDecimals, m_value),
                  p + wxPoint(0, m_layout.radius / 5), kAlignCenter | kAlignTop);
}

}  // namespace vantrel
