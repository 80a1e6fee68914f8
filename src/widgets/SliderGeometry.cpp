#include "widgets/SliderGeometry.h"

#include <wx/defs.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>

namespace vantrel {

int SliderTrack::clampPos(int pos) const {
  if (pos > rangeMax) pos = rangeMax;
  if (pos < rangeMin) pos = rangeMin;
  return pos;
}

int SliderTrack::pixelOf(int pos) const {
  if (emptyRange()) return lowestCentre();
  const double fraction =
      (static_cast<double>(clampPos(pos)) - rangeMin) / (static_cast<double>(rangeMax) - rangeMin);
  return lowestCentre() + static_cast<int>(travel() * fraction);
}

int SliderTrack::positionAt(int x) const {
  if (emptyRange() || travel() <= 0) return rangeMin;
  const double span = static_cast<double>(rangeMax) - rangeMin;
  const double v = rangeMin + static_cast<double>(x - lowestCentre()) / travel() * span;
  return static_cast<int>(
      std::clamp(v, static_cast<double>(rangeMin), static_cast<double>(rangeMax)));
}

int SliderTrack::clampCentre(int x) const {
  if (x < lowestCentre()) x = lowestCentre();
  if (x > highestCentre()) x = highestCentre();
  return x;
}

std::optional<int> sliderKeyTarget(int keyCode, int pos, int pageSize, int rangeMin, int rangeMax) {
  int64_t target;
  switch (keyCode) {
    case WXK_PAGEUP:
    case WXK_NUMPAD_PAGEUP:
      target = int64_t{pos} - pageSize;
      break;
    case WXK_PAGEDOWN:
    case WXK_NUMPAD_PAGEDOWN:
      target = int64_t{pos} + pageSize;
      break;
    case WXK_END:
    case WXK_NUMPAD_END:
      target = rangeMax;
      break;
    case WXK_HOME:
    case WXK_NUMPAD_HOME:
      target = rangeMin;
      break;
    case WXK_LEFT:
    case WXK_UP:
    case WXK_NUMPAD_LEFT:
    case WXK_NUMPAD_UP:
      target = int64_t{pos} - 1;
      break;
    case WXK_RIGHT:
    case WXK_DOWN:
    case WXK_NUMPAD_RIGHT:
    case WXK_NUMPAD_DOWN:
      target = int64_t{pos} + 1;
      break;
    default:
      return std::nullopt;
  }
  return static_cast<int>(std::clamp<int64_t>(target, INT_MIN, INT_MAX));
}

}  // namespace vantrel
