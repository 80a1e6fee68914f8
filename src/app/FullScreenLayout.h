#pragma once
// Geometry of the full-screen layout: which controls hide, where the strip
// controls go, and the saved rectangles that bring the normal layout back.
#include <wx/gdicmn.h>

#include <array>
#include <vector>

namespace vantrel {

// The controls whose start-up rectangles are kept, in capture order.
inline constexpr std::array<int, 32> kLayoutIds{
    1003, 1025, 1026, 1027, 1028, 1030, 1031, 1029, 1020, 1032, 1021, 1022, 1023, 1015, 1016, 1018,
    1019, 1017, 1014, 1001, 1004, 1005, 1006, 1007, 1,    1000, 1024, 1009, 1011, 1013, 1012, 1002};
// Hidden on entering full screen, in this order.
inline constexpr std::array<int, 21> kHiddenInFullScreen{1000, 1009, 1021, 1020, 1022, 1023, 1017,
                                                         1018, 1019, 1024, 1025, 1026, 1027, 1028,
                                                         1030, 1031, 1029, 1012, 1002, 1032, 1010};
// Moved back on leaving, in this order.
inline constexpr std::array<int, 32> kRestoreOrder{
    1003, 1025, 1026, 1027, 1028, 1030, 1031, 1029, 1032, 1020, 1021, 1022, 1023, 1018, 1019, 1017,
    1015, 1016, 1014, 1001, 1004, 1005, 1006, 1007, 1,    1000, 1024, 1009, 1011, 1013, 1012, 1002};
// Shown again on leaving, in this order.
inline constexpr std::array<int, 21> kShownOnLeaving{1000, 1009, 1021, 1020, 1018, 1019, 1017,
                                                     1022, 1023, 1024, 1025, 1026, 1027, 1028,
                                                     1030, 1031, 1029, 1012, 1032, 1010, 1002};

struct ControlLayout {
  std::array<wxRect, 32> controls;     // client coordinates, in kLayoutIds order
  wxRect window;                       // screen coordinates
  const wxRect& rectOf(int id) const;  // an empty rectangle for other ids
};

struct StripPlacement {
  int id;
  wxPoint position;  // client coordinates; sizes stay as saved
};

// The strip controls' positions for a screen of the given size, in placing order.
std::vector<StripPlacement> stripPlacements(const ControlLayout& layout, const wxSize& screen);

// The video area in full screen: the window's frame margins (window rect W
// against client rect C, both in screen coordinates) stay off screen, and a
// 120-pixel strip is left at the bottom.
wxRect fullScreenVideoRect(const wxRect& window, const wxRect& client, const wxSize& screen);

}  // namespace vantrel
