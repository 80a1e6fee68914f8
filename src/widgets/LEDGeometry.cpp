#include "widgets/LEDGeometry.h"

namespace vantrel {

namespace {
// h x factor in double precision, truncated, at least 1.
int measure(int height, double factor) {
  const double v = height * factor;
  return v < 1.0 ? 1 : static_cast<int>(v);
}

bool isSeparator(wxUniChar c) {
  return c == ':' || c == '.';
}

// How far the cell of character i starts after the cell of character i - 1.
int advance(wxUniChar current, wxUniChar previous, const LedMetrics& m) {
  const int t = m.thickness, l = m.length;
  if (current == ':' || previous == ':') return l + t;
  if (current == '.') return l + 2;
  if (previous == '.') return 4 * t - 2;
  return l + 4 * t;
}

wxRect dotBox(int left, int centreY, int pen) {
  return {left, centreY - pen / 2, pen, pen / 2 + pen / 2};
}
}  // namespace

LedMetrics ledMetrics(int digitHeight) {
  const int t = measure(digitHeight, 0.06);
  return {t, measure(digitHeight, 0.35), t};
}

int ledCode(wxUniChar c) {
  switch (c.GetValue()) {
    case '0':
      return kSegA | kSegB | kSegC | kSegD | kSegE | kSegF;
    case '1':
      return kSegB | kSegC;
    case '2':
      return kSegA | kSegB | kSegD | kSegE | kSegG;
    case '3':
      return kSegA | kSegB | kSegC | kSegD | kSegG;
    case '4':
      return kSegB | kSegC | kSegF | kSegG;
    case '5':
      return kSegA | kSegC | kSegD | kSegF | kSegG;
    case '6':
      return kSegA | kSegC | kSegD | kSegE | kSegF | kSegG;
    case '7':
      return kSegA | kSegB | kSegC;
    case '8':
      return kSegA | kSegB | kSegC | kSegD | kSegE | kSegF | kSegG;
    case '9':
      return kSegA | kSegB | kSegC | kSegD | kSegF | kSegG;
    case '-':
      return kSegG;
    case '.':
      return kLedPoint;
    case ':':
      return kLedColon;
    default:
      return 0;
  }
}

std::vector<LedCell> ledCells(const wxString& text, const LedMetrics& m, int left,
                              bool showOffSegments) {
  std::vector<LedCell> cells;
  cells.reserve(text.length());
  int x = left;
  for (size_t i = 0; i < text.length(); ++i) {
    if (i > 0) x += advance(text[i], text[i - 1], m);
    cells.push_back({x, ledCode(text[i]), showOffSegments && !isSeparator(text[i])});
  }
  return cells;
}

std::vector<LedStroke> ledStrokes(int code, int x, int top, const LedMetrics& m) {
  if (code == kLedPoint || code == kLedColon) return {};
  const int t = m.thickness, l = m.length, y = top;
  const struct {
    int bit;
    LedStroke stroke;
  } table[] = {
      {kSegA, {{x + 2 * t, y + t}, {x + l, y + t}}},
      {kSegB, {{x + l + t, y + 2 * t}, {x + l + t, y + l + 2 * t}}},
      {kSegC, {{x + l + t, y + l + 4 * t}, {x + l + t, y + 2 * l + 3 * t}}},
      {kSegD, {{x + 2 * t, y + 2 * l + 4 * t}, {x + l, y + 2 * l + 4 * t}}},
      {kSegE, {{x + t, y + l + 4 * t}, {x + t, y + 2 * l + 3 * t}}},
      {kSegF, {{x + t, y + 2 * t}, {x + t, y + l + 2 * t}}},
      {kSegG, {{x + 2 * t, y + l + 3 * t}, {x + l, y + l + 3 * t}}},
  };
  std::vector<LedStroke> strokes;
  for (const auto& entry : table) {
    if (code == kLedUnlitEight || (code & entry.bit)) strokes.push_back(entry.stroke);
  }
  return strokes;
}

std::vector<wxRect> ledDots(int code, int x, int top, const LedMetrics& m) {
  const int t = m.thickness, l = m.length, p = m.penWidth;
  if (code == kLedPoint) return {dotBox(x + 2 * t, top + 2 * l + 4 * t, p)};
  if (code == kLedColon) {
    return {dotBox(x + 4 * t, top + l - t, p), dotBox(x + 4 * t, top + 2 * l, p)};
  }
  return {};
}

wxColour ledDimmed(const wxColour& on) {
  auto quarter = [](unsigned char v) { return static_cast<unsigned char>(v / 4); };
  return {quarter(on.Red()), quarter(on.Green()), quarter(on.Blue())};
}

}  // namespace vantrel
