#include "app/FullScreenLayout.h"

#include <algorithm>

namespace vantrel {

const wxRect& ControlLayout::rectOf(int id) const {
  static const wxRect none;
  auto it = std::find(kLayoutIds.begin(), kLayoutIds.end(), id);
  return it == kLayoutIds.end() ? none : controls[it - kLayoutIds.begin()];
}

std::vector<StripPlacement> stripPlacements(const ControlLayout& layout, const wxSize& screen) {
  const int sw = screen.x, sh = screen.y;
  const int b = layout.rectOf(1001).height;
  const int pw = layout.rectOf(1014).width;
  const int ph = layout.rectOf(1014).height;
  const int eighth = sw / 8;
  const int buttonY = sh - b - 10;
  std::vector<StripPlacement> placements{
      {1015, {sw / 2 - pw / 2 - layout.rectOf(1015).width, sh - b - ph - 27}},
      {1014, {sw / 2 - pw / 2, sh - b - ph - 30}},
      {1016, {sw / 2 + pw / 2, sh - b - ph - 27}},
  };
  const int buttons[] = {1001, 1004, 1005, 1006, 1007, 1};
  for (int i = 0; i < 6; ++i) placements.push_back({buttons[i], {eighth * (i + 1) - 10, buttonY}});
  placements.push_back({1011, {eighth * 7 - 10, sh - layout.rectOf(1011).height - 10}});
  placements.push_back(
      {1013, {eighth * 7 + layout.rectOf(1011).width - 33, sh - layout.rectOf(1013).height - 10}});
  return placements;
}

wxRect fullScreenVideoRect(const wxRect& window, const wxRect& client, const wxSize& screen) {
  const int left = window.GetLeft() - client.GetLeft();
  const int top = window.GetTop() - client.GetTop();
  // Right and bottom as exclusive edges, so the frame widths carry over exactly.
  const int right = (window.GetRight() + 1) - (client.GetRight() + 1) + screen.x;
  const int bottom = (window.GetBottom() + 1) - (client.GetBottom() + 1) + screen.y - 120;
  return {left, top, right - left, bottom - top};
}

}  // namespace vantrel
