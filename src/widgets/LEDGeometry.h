#pragma once
// The seven-segment readout's geometry as plain arithmetic: stroke sizes from
// the digit height, where each character cell starts, and the strokes and
// dots of each character code.
#include <wx/colour.h>
#include <wx/gdicmn.h>
#include <wx/string.h>

#include <vector>

namespace vantrel {

// Stroke bits, a (top) to g (middle); 0x01 is unused.
enum LedSegment : int {
  kSegA = 0x80,  // top
  kSegB = 0x40,  // upper right
  kSegC = 0x20,  // lower right
  kSegD = 0x10,  // bottom
  kSegE = 0x08,  // lower left
  kSegF = 0x04,  // upper left
  kSegG = 0x02,  // middle
};
// Codes that are not stroke masks.
constexpr int kLedPoint = 256;
constexpr int kLedColon = 257;
constexpr int kLedUnlitEight = 999;

struct LedMetrics {
  int thickness = 1;  // T
  int length = 1;     // L
  int penWidth = 1;   // P, equal to T
};
LedMetrics ledMetrics(int digitHeight);

// The code a character draws, or 0 for one that draws nothing but its cell.
int ledCode(wxUniChar c);

struct LedCell {
  int x = 0;
  int code = 0;             // 0: nothing lit
  bool unlitEight = false;  // an unlit eight goes under it
};
// One cell per character, starting at left; ':' and '.' take less room and
// never get an unlit eight.
std::vector<LedCell> ledCells(const wxString& text, const LedMetrics& m, int left,
                              bool showOffSegments);

struct LedStroke {
  wxPoint from, to;
};
// The strokes of a code in the cell at (x, top): its lit segments, all seven
// for the unlit eight, none for the point and colon.
std::vector<LedStroke> ledStrokes(int code, int x, int top, const LedMetrics& m);
// Bounding boxes of the dots of the point (one) and the colon (two).
std::vector<wxRect> ledDots(int code, int x, int top, const LedMetrics& m);

// The unlit strokes' colour when none was set: each channel of on / 4.
wxColour ledDimmed(const wxColour& on);

}  // namespace vantrel
