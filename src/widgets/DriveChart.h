#pragma once
// The chart under the large map: a drive's speed over its time, with lanes
// for altitude and g-force when the track has them, a cursor at the playback
// position, and a click that asks to play from the moment clicked.
#include <wx/control.h>

#include <functional>
#include <optional>
#include <vector>

namespace vantrel {

struct ChartLane {
  wxString title;  // "Speed"
  wxString unit;   // "km/h"
  wxColour colour;
  bool fromZero = true;        // the axis starts at 0
  std::vector<double> times;   // seconds from the drive's start
  std::vector<double> values;  // a value that is not finite breaks the line
};

class CDriveChart : public wxControl {
 public:
  CDriveChart(wxWindow* parent, wxWindowID id);

  // The lanes, top to bottom, over 0..spanSeconds.
  void SetLanes(std::vector<ChartLane> lanes, double spanSeconds);
  const std::vector<ChartLane>& Lanes() const { return m_lanes; }
  void SetCursorTime(std::optional<double> seconds);
  // What the chart says when it has nothing to draw.
  void SetEmptyText(const wxString& text);
  std::optional<double> CursorTime() const { return m_cursor; }
  // Called with the time under a left click inside the plot.
  void SetClickHandler(std::function<void(double seconds)> handler) {
    m_onClick = std::move(handler);
  }

  // The plot's pixels for a time, and the time for a pixel column (nullopt
  // outside the plot or with nothing drawn).
  int XOf(double seconds) const;
  std::optional<double> TimeAt(int x) const;
  // The lanes' plot areas, top to bottom; their value labels lie inside.
  std::vector<wxRect> LaneRects() const;

 protected:
  wxSize DoGetBestSize() const override;
  bool AcceptsFocus() const override { return false; }

 private:
  wxRect PlotRect() const;
  void OnPaint(wxPaintEvent& event);
  void OnLeftDown(wxMouseEvent& event);
  void DrawLane(wxDC& dc, const ChartLane& lane, const wxRect& area) const;
  void DrawTimeAxis(wxDC& dc, const wxRect& plot) const;
  void DrawCursor(wxDC& dc, const wxRect& plot) const;

  std::vector<ChartLane> m_lanes;
  double m_span = 0;
  std::optional<double> m_cursor;
  std::function<void(double)> m_onClick;
  wxString m_emptyText = "No track to chart";
};

}  // namespace vantrel
