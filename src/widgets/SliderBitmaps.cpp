#include "widgets/SliderBitmaps.h"

#include <wx/image.h>

namespace vantrel {

namespace {
void fill(wxImage& image, const wxRect& rect, const wxColour& c) {
  image.SetRGB(rect, c.Red(), c.Green(), c.Blue());
}

wxColour mix(const wxColour& a, const wxColour& b, int step, int steps) {
  auto channel = [=](int x, int y) {
    return static_cast<unsigned char>(x + (y - x) * step / steps);
  };
  return {channel(a.Red(), b.Red()), channel(a.Green(), b.Green()), channel(a.Blue(), b.Blue())};
}

// A rounded groove across the channel; fill shades from top to bottom.
wxImage groove(const wxColour& surround, const wxColour& border, const wxColour& fillTop,
               const wxColour& fillBottom) {
  constexpr int kWidth = 640, kHeight = 17, kTop = 4, kBottom = 12;
  wxImage image(kWidth, kHeight);
  fill(image, wxRect(0, 0, kWidth, kHeight), surround);
  fill(image, wxRect(2, kTop, kWidth - 4, 1), border);
  fill(image, wxRect(2, kBottom, kWidth - 4, 1), border);
  fill(image, wxRect(1, kTop + 1, 1, kBottom - kTop - 1), border);
  fill(image, wxRect(kWidth - 2, kTop + 1, 1, kBottom - kTop - 1), border);
  const int rows = kBottom - kTop - 1;
  for (int r = 0; r < rows; ++r) {
    fill(image, wxRect(2, kTop + 1 + r, kWidth - 4, 1), mix(fillTop, fillBottom, r, rows - 1));
  }
  return image;
}

// A light button with coloured ends; the four corner pixels carry the key.
wxImage thumb(const wxColour& ends) {
  constexpr int kWidth = 23, kHeight = 11;
  wxImage image(kWidth, kHeight);
  fill(image, wxRect(0, 0, kWidth, kHeight), wxColour(100, 100, 100));
  for (int r = 1; r < kHeight - 1; ++r) {
    fill(image, wxRect(1, r, kWidth - 2, 1),
         mix(wxColour(252, 252, 252), wxColour(205, 205, 205), r - 1, kHeight - 3));
  }
  fill(image, wxRect(1, 1, 4, kHeight - 2), ends);
  fill(image, wxRect(kWidth - 5, 1, 4, kHeight - 2), ends);
  fill(image, wxRect(11, 3, 1, kHeight - 6), wxColour(150, 150, 150));  // grip line
  const wxColour key(255, 0, 0);
  for (wxPoint corner : {wxPoint(0, 0), wxPoint(kWidth - 1, 0), wxPoint(0, kHeight - 1),
                         wxPoint(kWidth - 1, kHeight - 1)}) {
    fill(image, wxRect(corner, wxSize(1, 1)), key);
  }
  return image;
}

// Sixteen bars rising left to right over the volume slider's travel (x 8 to
// 102), on a black key; colourOf gives bar i its colour.
template <typename ColourOf>
wxImage staircase(ColourOf colourOf) {
  constexpr int kWidth = 110, kHeight = 40, kBars = 16, kLeft = 8, kTravel = 94, kBase = 38;
  wxImage image(kWidth, kHeight);
  fill(image, wxRect(0, 0, kWidth, kHeight), *wxBLACK);
  for (int i = 0; i < kBars; ++i) {
    const int left = kLeft + i * kTravel / kBars;
    const int right = kLeft + (i + 1) * kTravel / kBars - 2;
    const int height = 6 + i * (kBase - 6) / (kBars - 1);
    fill(image, wxRect(left, kBase - height, right - left + 1, height), colourOf(i, kBars));
  }
  return image;
}
}  // namespace

wxBitmap LoadSliderBitmap(int id, const wxColour& surround) {
  switch (id) {
    case IDB_PROGRESS_CHANNEL:
      return wxBitmap(groove(surround, {150, 150, 150}, {196, 196, 196}, {228, 228, 228}), 24);
    case IDB_PROGRESS_CHANNEL_ACTIVE:
      return wxBitmap(groove(surround, {30, 110, 40}, {130, 225, 130}, {40, 160, 60}), 24);
    case IDB_PROGRESS_THUMB:
      return wxBitmap(thumb({60, 180, 75}), 24);
    case IDB_PROGRESS_THUMB_ACTIVE:
      return wxBitmap(thumb({255, 140, 0}), 24);
    case IDB_VOLUME_CHANNEL:
      return wxBitmap(staircase([](int, int) { return wxColour(128, 128, 0); }), 24);
    case IDB_VOLUME_CHANNEL_ACTIVE:
      return wxBitmap(staircase([](int i, int bars) {
                        return mix(wxColour(255, 255, 0), wxColour(255, 0, 0), i, bars - 1);
                      }),
                      24);
    default:
      return wxNullBitmap;
  }
}

}  // namespace vantrel
