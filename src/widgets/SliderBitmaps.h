#pragma once
// The sliders' pictures, drawn at their sizes and loaded by resource id.
#include <wx/bitmap.h>
#include <wx/colour.h>

namespace vantrel {

enum SliderBitmapId : int {
  IDB_PROGRESS_CHANNEL = 129,         // 640 x 17 light grey groove
  IDB_PROGRESS_CHANNEL_ACTIVE = 130,  // the same groove filled green
  IDB_PROGRESS_THUMB = 131,           // 23 x 11 light button with green ends
  IDB_PROGRESS_THUMB_ACTIVE = 132,    // the same with orange ends, while dragged
  IDB_VOLUME_CHANNEL = 138,           // 110 x 40 staircase of 16 olive bars on black
  IDB_VOLUME_CHANNEL_ACTIVE = 1010,   // the same bars shaded yellow to red
};

// The picture of a resource id, 24 bits per pixel; an invalid bitmap for an
// id that has none. surround: the colour around the progress groove, so the
// opaque channel blends with the window it sits on.
wxBitmap LoadSliderBitmap(int id, const wxColour& surround);

}  // namespace vantrel
