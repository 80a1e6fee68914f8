#include "widgets/MeterGeometry.h"

#include <algorithm>
#include <cmath>

namespace vantrel {

namespace {
constexpr double kDegree = 3.14159265358979323846 / 180.0;

// Offsets truncated toward zero, as the band edges and rim ends are.
wxPoint truncatedPoint(const wxPoint& c, double r, double degrees) {
  const double a = degrees * kDegree;
  return {c.x + static_cast<int>(r * std::cos(a)), c.y - static_cast<int>(r * std::sin(a))};
}

// Whole coordinates rounded half away from zero, as the ticks are.
wxPoint roundedPoint(const wxPoint& c, double r, double degrees) {
  const double a = degrees * kDegree;
  return {static_cast<int>(std::lround(c.x + r * std::cos(a))),
          static_cast<int>(std::lround(c.y - r * std::sin(a)))};
}

void layTicks(MeterLayout& layout, const MeterScale& scale) {
  const int minor = std::max(1, scale.minorTicks);
  const int step = static_cast<int>(scale.TickStep() * 100);  // hundredths of a degree
  const int last = (scale.endAngle - 360) * 100;
  const int outer = layout.radius - 2 * layout.band;
  int i = 0;
  for (int t = scale.startAngle * 100; t >= last && i < kMaxMeterTicks; t -= step, ++i) {
    const double angle = t / 100.0;
    layout.tickOuter.push_back(roundedPoint(layout.center, outer, angle));
    const int inner = (i % minor == 0) ? layout.innerRadius : layout.midRadius;
    layout.tickInner.push_back(roundedPoint(layout.center, inner, angle));
    if (step <= 0) break;  // a step too small to advance gives one tick
  }
}

void layBands(MeterLayout& layout, const MeterScale& scale) {
  const double arcStep = scale.Sweep() / 250.0;
  const wxPoint c = layout.center;
  const int r8 = 8 * layout.radius;  // 0.8 R as 8R / 10, so the inner edge meets the ticks
  for (int j = 0; j < kBandArcPoints; ++j) {
    const double degrees = scale.startAngle - j * arcStep;
    layout.bandOuter[j] = truncatedPoint(c, layout.radius - layout.band, degrees);
    const double phi = degrees * kDegree;
    layout.bandInner[j] = {c.x + static_cast<int>(r8 * std::cos(phi) / 10),
                           c.y - static_cast<int>(r8 * std::sin(phi) / 10)};
  }
}
}  // namespace

double MeterScale::TickStep() const {
  return static_cast<double>(Sweep()) / (std::max(1, majorTicks) * std::max(1, minorTicks));
}

int meterRadius(const wxSize& client) {
  return std::max(client.x, client.y) * 9 / 21;
}

MeterLayout meterLayout(const wxRect& client, const MeterScale& scale) {
  MeterLayout layout;
  const int r = meterRadius(client.GetSize());
  layout.radius = r;
  layout.center = {(client.GetLeft() + client.GetLeft() + client.width) / 2,
                   (client.GetTop() + client.GetTop() + client.height) / 2 + r / 10};
  layout.innerRadius = r * 8 / 10;
  layout.unit = r / 20;
  layout.band = r / 18;
  layout.midRadius = (r - 2 * layout.band - layout.innerRadius) / 2 + layout.innerRadius;
  layout.arcStart = truncatedPoint(layout.center, r, scale.startAngle);
  layout.arcEnd = truncatedPoint(layout.center, r, scale.endAngle);
  layout.innerArcStart = truncatedPoint(layout.center, layout.innerRadius, scale.startAngle);
  layout.innerArcEnd = truncatedPoint(layout.center, layout.innerRadius, scale.endAngle);
  layBands(layout, scale);
  layTicks(layout, scale);
  const wxPoint c = layout.center;
  const int left = c.x - r / 2, top = c.y + r / 5, right = c.x + r / 2, bottom = c.y + r / 2;
  layout.valueRect = wxRect(left, top, right - left, bottom - top);
  layout.labelHeight = r / 6;
  layout.valueHeight = r / 5;
  return layout;
}

std::vector<wxPoint> bandPolygon(const MeterLayout& layout, int b) {
  constexpr int kPerBand = (kBandArcPoints - 1) / kBandCount;
  std::vector<wxPoint> polygon(2 * (kPerBand + 1));
  for (int m = 0; m <= kPerBand; ++m) {
    polygon[m] = layout.bandOuter[kPerBand * b + m];
    polygon[polygon.size() - 1 - m] = layout.bandInner[kPerBand * b + m];
  }
  return polygon;
}

wxPoint alignedTextOrigin(const wxPoint& point, int align, const wxSize& extent, int descent) {
  wxPoint origin = point;
  if ((align & kAlignCenter) == kAlignCenter) {
    origin.x -= extent.x / 2;
  } else if (align & kAlignRight) {
    origin.x -= extent.x;
  }
  if ((align & kAlignBaseline) == kAlignBaseline) {
    origin.y -= extent.y - descent;
  } else if (align & kAlignBottom) {
    origin.y -= extent.y;
  }
  return origin;
}

LabelPlacement labelPlacement(double angle, const wxPoint& p, int h) {
  // First row whose bound the angle exceeds; every test is strict.
  struct Row {
    double above;
    int align;
    wxPoint offset;
  };
  const Row rows[] = {
      {190, kAlignLeft | kAlignBottom, {0, h / 2}},
      {170, kAlignLeft | kAlignBaseline, {0, h / 3}},
      {135, kAlignLeft | kAlignBaseline, {0, h / 2}},
      {100, kAlignLeft | kAlignTop, {-h / 4, -h / 8}},
      {80, kAlignCenter | kAlignTop, {0, 0}},
      {45, kAlignRight | kAlignBottom, {h / 3, h}},
      {10, kAlignRight | kAlignBaseline, {0, h / 2}},
      {-10, kAlignRight | kAlignBaseline, {0, h / 3}},
  };
  int row = 0;
  for (const Row& r : rows) {
    if (angle > r.above) return {row, r.align, p + r.offset};
    ++row;
  }
  return {row, kAlignRight | kAlignBottom, p + wxPoint(0, h / 2)};
}

double labelAngle(const MeterScale& scale, int n) {
  return scale.startAngle - n * std::max(1, scale.minorTicks) * scale.TickStep();
}

double needleAngle(double value, const MeterScale& scale) {
  const double span = scale.maxValue - scale.minValue;
  // An empty scale keeps the needle at its start instead of dividing by zero.
  double angle = span == 0.0 ? scale.startAngle
                             : scale.startAngle - scale.Sweep() * (value - scale.minValue) / span;
  angle = std::min(angle, static_cast<double>(scale.startAngle));
  angle = std::max(angle, static_cast<double>(scale.endAngle - 360));
  return angle;
}

std::array<wxPoint, 4> needlePoints(const wxPoint& c, int radius, int unit, double angle) {
  const double t = angle * kDegree;
  const int w = unit * 10;
  const int sideX = static_cast<int>(w * std::sin(t) / 8);
  const int sideY = static_cast<int>(w * std::cos(t) / 8);
  const double cosT = std::cos(t), sinT = std::sin(t);
  const wxPoint tip(static_cast<int>(std::lround(c.x + radius * cosT * 95 / 100)),
                    static_cast<int>(std::lround(c.y - radius * sinT * 95 / 100)));
  const wxPoint tail(static_cast<int>(std::lround(c.x - radius * cosT / 6)),
                     static_cast<int>(std::lround(c.y + radius * sinT / 6)));
  return {wxPoint(c.x - sideX, c.y - sideY), tip, wxPoint(c.x + sideX, c.y + sideY), tail};
}

wxColour blendColour(const wxColour& from, const wxColour& to, int numerator, int denominator) {
  if (denominator <= 0) return from;
  auto channel = [=](int a, int b) {
    const float v = a + static_cast<float>((b - a) * numerator) / static_cast<float>(denominator);
    return static_cast<unsigned char>(std::clamp(static_cast<int>(v), 0, 255));
  };
  return {channel(from.Red(), to.Red()), channel(from.Green(), to.Green()),
          channel(from.Blue(), to.Blue())};
}

}  // namespace vantrel
