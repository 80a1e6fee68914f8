#pragma once
// The speed gauge's geometry as plain arithmetic on the client rectangle and
// the scale settings: radius, centre, tick ends, band outlines, label places,
// needle points. Angles are degrees counterclockwise from 3 o'clock with y up;
// a point at angle a and radius r is (cx + r cos a, cy - r sin a).
#include <wx/colour.h>
#include <wx/gdicmn.h>

#include <array>
#include <vector>

namespace vantrel {

struct MeterScale {
  int startAngle = 225;  // angle of minValue (lower left)
  int endAngle = 315;    // angle of maxValue; the scale runs clockwise over the top
  int majorTicks = 10;
  int minorTicks = 5;  // per major division
  double minValue = 0.0;
  double maxValue = 120.0;

  // Degrees from startAngle clockwise to endAngle.
  int Sweep() const { return startAngle + 360 - endAngle; }
  // Degrees between neighbouring ticks (at least one division of each kind).
  double TickStep() const;
};

constexpr int kMaxMeterTicks = 200;
constexpr int kBandCount = 5;
constexpr int kBandArcPoints = 251;  // points along each band edge, 50 per band + 1

struct MeterLayout {
  int radius = 0;  // R
  wxPoint center;
  int band = 0;                        // rim width, R / 18
  int unit = 0;                        // R / 20: hub and needle width measure
  int innerRadius = 0;                 // 0.8 R, where major ticks end
  int midRadius = 0;                   // where minor ticks end
  wxPoint arcStart, arcEnd;            // rim ends on radius R
  wxPoint innerArcStart, innerArcEnd;  // on the inner radius
  // Band edges: on radius R - band and on 0.8 R, from startAngle clockwise.
  std::array<wxPoint, kBandArcPoints> bandOuter, bandInner;
  std::vector<wxPoint> tickOuter, tickInner;
  wxRect valueRect;  // its centre anchors the unit and value texts
  int labelHeight = 0;
  int valueHeight = 0;
};

int meterRadius(const wxSize& client);
// Computes everything the face needs for this client rectangle and scale.
MeterLayout meterLayout(const wxRect& client, const MeterScale& scale);
// The polygon of band b (0 = low end): its outer edge, then its inner edge back.
std::vector<wxPoint> bandPolygon(const MeterLayout& layout, int b);

// Text anchoring in the manner of SetTextAlign: the point is the left, centre
// or right and the top, baseline or bottom of the text.
enum TextAlign : int {
  kAlignLeft = 0,
  kAlignRight = 2,
  kAlignCenter = 6,
  kAlignTop = 0,
  kAlignBottom = 8,
  kAlignBaseline = 24,
};
// The top-left corner to draw text of this extent and descent at so it sits
// at point with the given alignment.
wxPoint alignedTextOrigin(const wxPoint& point, int align, const wxSize& extent, int descent);

struct LabelPlacement {
  int row;    // row of the placement table, 0 .. 8
  int align;  // TextAlign flags
  wxPoint position;
};
// Where the scale label at angle sits, anchored on the inner end of its
// tick; labelHeight is the label font's cell height.
LabelPlacement labelPlacement(double angle, const wxPoint& anchor, int labelHeight);
// The angle of the n-th major tick.
double labelAngle(const MeterScale& scale, int n);

// Needle direction for value, held within the scale.
double needleAngle(double value, const MeterScale& scale);
// Side at the hub, tip, other side, tail.
std::array<wxPoint, 4> needlePoints(const wxPoint& center, int radius, int unit, double angle);

// Per channel from + (to - from) x numerator / denominator, in single
// precision, truncated: the rim's and the hub's shading.
wxColour blendColour(const wxColour& from, const wxColour& to, int numerator, int denominator);

}  // namespace vantrel
