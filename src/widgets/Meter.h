#pragma once
// The speed gauge: a dial with a gradient rim, five colour bands, ticks and
// labels, a bevelled needle on a shaded hub, and the unit and value below.
// The face is drawn once into a cached bitmap and redrawn only after a
// setting or size change; a new value repaints the needle over a copy of it.
#include <wx/bitmap.h>
#include <wx/control.h>
#include <wx/region.h>

#include <array>

#include "widgets/MeterGeometry.h"

namespace vantrel {

class CMeter : public wxControl {
 public:
  CMeter(wxWindow* parent, wxWindowID id, const wxPoint& pos = wxDefaultPosition,
         const wxSize& size = wxDefaultSize, long style = 0);

  // Each setter discards the cached face and repaints.
  void SetAngleRange(int start, int end);
  void SetMinorTicks(int count);
  void SetMajorTicks(int count);
  void SetShowColorBands(bool show);
  void SetValueDecimals(int count);
  void SetUnits(const wxString& units);
  void SetScaleDecimals(int count);
  void SetRange(double min, double max);
  void SetNeedleColor(const wxColour& colour);
  // Repaints the needle and value only. Safe from any thread: a call off the
  // UI thread is carried out there.
  void SetValue(double value);

  double GetValue() const { return m_value; }
  const wxString& GetUnits() const { return m_units; }
  const MeterScale& Scale() const { return m_scale; }
  // Whether a face is cached for the next paint.
  bool HasCachedFace() const { return m_face.IsOk(); }

 protected:
  wxSize DoGetBestSize() const override;
  wxBorder GetDefaultBorder() const override { return wxBORDER_NONE; }
  bool AcceptsFocus() const override { return false; }

 private:
  struct FaceColours {
    wxColour window, highlight, shadow, face;
  };

  void DiscardFace();
  void DrawFace(const wxDC& like, const wxRect& client);
  void DrawRim(wxDC& dc) const;
  void DrawBands(wxDC& dc) const;
  void DrawTicks(wxDC& dc) const;
  void DrawLabels(wxDC& dc) const;
  void DrawNeedle(wxDC& dc) const;
  void DrawHub(wxDC& dc) const;
  void DrawValueText(wxDC& dc) const;
  void OnPaint(wxPaintEvent& event);
  void OnSize(wxSizeEvent& event);

  MeterScale m_scale;
  bool m_showColorBands = false;
  std::array<wxColour, kBandCount> m_bandColors;
  wxString m_units = "KMH";
  int m_valueDecimals = 1;
  wxColour m_needleColor{255, 0, 0};
  int m_scaleDecimals = 0;
  double m_value = 50.0;

  // Set when the face is drawn, valid while it is cached.
  wxBitmap m_face;
  MeterLayout m_layout;
  wxRegion m_needleClip;  // inside the tick circle
  FaceColours m_colours;
};

}  // namespace vantrel
