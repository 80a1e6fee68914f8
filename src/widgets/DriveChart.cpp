#include "widgets/DriveChart.h"

#include <wx/dcbuffer.h>
#include <wx/graphics.h>
#include <wx/settings.h>

#include <cmath>
#include <memory>

#include "widgets/ChartGeometry.h"

namespace vantrel {

namespace {

// Room for the value labels on the left and the time labels underneath.
constexpr int kLeftMargin = 64;
constexpr int kRightMargin = 12;
constexpr int kTopMargin = 4;
constexpr int kBottomMargin = 20;
constexpr int kLaneGap = 6;
constexpr int kLaneHeight = 76;

const wxColour kPlotBackground(250, 250, 247);
const wxColour kGrid(220, 220, 214);
const wxColour kCursor(229, 57, 53);

}  // namespace

CDriveChart::CDriveChart(wxWindow* parent, wxWindowID id)
    : wxControl(parent, id, wxDefaultPosition, wxDefaultSize, wxBORDER_NONE) {
  SetName("DriveChart");
  SetBackgroundStyle(wxBG_STYLE_PAINT);
  Bind(wxEVT_PAINT, &CDriveChart::OnPaint, this);
  Bind(wxEVT_LEFT_DOWN, &CDriveChart::OnLeftDown, this);
}

void CDriveChart::SetLanes(std::vector<ChartLane> lanes, double spanSeconds) {
  m_lanes = std::move(lanes);
  m_span = spanSeconds;
  InvalidateBestSize();
  Refresh();
}

void CDriveChart::SetCursorTime(std::optional<double> seconds) {
  if (seconds == m_cursor) return;
  m_cursor = seconds;
  Refresh();
}

void CDriveChart::SetEmptyText(const wxString& text) {
  m_emptyText = text;
  Refresh();
}

wxSize CDriveChart::DoGetBestSize() const {
  const int lanes = std::max<int>(1, static_cast<int>(m_lanes.size()));
  return {480, kTopMargin + lanes * kLaneHeight + (lanes - 1) * kLaneGap + kBottomMargin};
}

wxRect CDriveChart::PlotRect() const {
  const wxSize size = GetClientSize();
  return {kLeftMargin, kTopMargin, std::max(1, size.x - kLeftMargin - kRightMargin),
          std::max(1, size.y - kTopMargin - kBottomMargin)};
}

std::vector<wxRect> CDriveChart::LaneRects() const {
  const wxRect plot = PlotRect();
  const int count = static_cast<int>(m_lanes.size());
  std::vector<wxRect> areas;
  if (count == 0) return areas;
  const int laneHeight = (plot.height - (count - 1) * kLaneGap) / count;
  for (int i = 0; i < count; ++i) {
    areas.emplace_back(plot.x, plot.y + i * (laneHeight + kLaneGap), plot.width, laneHeight);
  }
  return areas;
}

int CDriveChart::XOf(double seconds) const {
  const wxRect plot = PlotRect();
  const ChartScale scale{0, m_span > 0 ? m_span : 1, double(plot.GetLeft()),
                         double(plot.GetRight())};
  return static_cast<int>(std::lround(scale.toPixel(seconds)));
}

std::optional<double> CDriveChart::TimeAt(int x) const {
  const wxRect plot = PlotRect();
  if (m_lanes.empty() || m_span <= 0 || x < plot.GetLeft() || x > plot.GetRight())
    return std::nullopt;
  const ChartScale scale{0, m_span, double(plot.GetLeft()), double(plot.GetRight())};
  return scale.toValue(x);
}

void CDriveChart::OnLeftDown(wxMouseEvent& event) {
  const std::optional<double> time = TimeAt(event.GetX());
  if (time && m_onClick) m_onClick(*time);
}

void CDriveChart::OnPaint(wxPaintEvent&) {
  wxAutoBufferedPaintDC dc(this);
  dc.SetBackground(wxBrush(wxSystemSettings::GetColour(wxSYS_COLOUR_WINDOW)));
  dc.Clear();
  dc.SetFont(GetFont());
  dc.SetTextForeground(wxSystemSettings::GetColour(wxSYS_COLOUR_WINDOWTEXT));
  const wxRect plot = PlotRect();
  if (m_lanes.empty() || m_span <= 0) {
    const wxSize extent = dc.GetTextExtent(m_emptyText);
    dc.DrawText(m_emptyText, (GetClientSize().x - extent.x) / 2,
                (GetClientSize().y - extent.y) / 2);
    return;
  }
  const std::vector<wxRect> areas = LaneRects();
  for (size_t i = 0; i < areas.size(); ++i) DrawLane(dc, m_lanes[i], areas[i]);
  DrawTimeAxis(dc, plot);
  DrawCursor(dc, plot);
}

void CDriveChart::DrawLane(wxDC& dc, const ChartLane& lane, const wxRect& area) const {
  dc.SetPen(wxPen(kGrid));
  dc.SetBrush(wxBrush(kPlotBackground));
  dc.DrawRectangle(area);
  const auto [low, high] = axisRange(lane.values, lane.fromZero);
  const ChartScale values{low, high, double(area.GetBottom()), double(area.GetTop())};
  const ChartScale times{0, m_span, double(area.GetLeft()), double(area.GetRight())};
  dc.SetPen(wxPen(kGrid));
  for (const LaneTick& tick :
       laneTicks(low, high, area.GetTop(), area.GetBottom(), dc.GetCharHeight())) {
    dc.DrawLine(area.GetLeft(), tick.lineY, area.GetRight(), tick.lineY);
    if (!tick.labelled) continue;
    const wxString label = wxString::Format("%g", tick.value);
    dc.DrawText(label, area.GetLeft() - dc.GetTextExtent(label).x - 6, tick.labelTop);
  }
  dc.DrawText(lane.title + " (" + lane.unit + ")", area.GetLeft() + 6, area.GetTop() + 2);

  std::unique_ptr<wxGraphicsContext> gc(wxGraphicsContext::CreateFromUnknownDC(dc));
  if (!gc) return;
  gc->SetPen(wxPen(lane.colour, 2));
  wxGraphicsPath path = gc->CreatePath();
  bool drawing = false;
  for (size_t i = 0; i < lane.times.size() && i < lane.values.size(); ++i) {
    if (!std::isfinite(lane.values[i])) {
      drawing = false;
      continue;
    }
    const double x = times.toPixel(lane.times[i]), y = values.toPixel(lane.values[i]);
    if (drawing) {
      path.AddLineToPoint(x, y);
    } else {
      path.MoveToPoint(x, y);
      drawing = true;
    }
  }
  gc->StrokePath(path);
}

void CDriveChart::DrawTimeAxis(wxDC& dc, const wxRect& plot) const {
  const ChartScale times{0, m_span, double(plot.GetLeft()), double(plot.GetRight())};
  for (double tick : timeTicks(m_span, std::max(2, plot.width / 90))) {
    const int x = static_cast<int>(std::lround(times.toPixel(tick)));
    const wxString label = wxString::FromUTF8(chartTimeText(tick, m_span));
    const wxSize extent = dc.GetTextExtent(label);
    dc.SetPen(wxPen(kGrid));
    dc.DrawLine(x, plot.GetBottom() - 3, x, plot.GetBottom() + 3);
    dc.DrawText(label, labelStart(x, extent.x, 0, GetClientSize().x), plot.GetBottom() + 4);
  }
}

void CDriveChart::DrawCursor(wxDC& dc, const wxRect& plot) const {
  if (!m_cursor) return;
  const int x = XOf(*m_cursor);
  if (x < plot.GetLeft() || x > plot.GetRight()) return;
  dc.SetPen(wxPen(kCursor, 2));
  dc.DrawLine(x, plot.GetTop(), x, plot.GetBottom());
}

}  // namespace vantrel
