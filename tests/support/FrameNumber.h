#pragma once
// Reads the number a picture of a `make-recording --numbers` recording
// carries: 12 boxes of 16 x 16 pixels along its top edge, white for a set bit,
// bit 0 at the left. Sampled at each box's centre, so compression and a
// scaled copy still read right.
#include <cstdint>

namespace testsupport {

constexpr int kNumberBits = 12;

// brightness(x, y) gives 0..255 at a pixel of the picture as recorded;
// scale maps recorded pixels to those of the picture read (1 for a decoded one).
template <typename Brightness>
int pictureNumberOf(Brightness brightness, double scale = 1.0) {
  int number = 0;
  for (int bit = 0; bit < kNumberBits; ++bit) {
    const int x = static_cast<int>((16 * bit + 8) * scale);
    const int y = static_cast<int>(8 * scale);
    if (brightness(x, y) > 128) number |= 1 << bit;
  }
  return number;
}

// From a luma plane.
inline int pictureNumber(const uint8_t* luma, int stride) {
  return pictureNumberOf([&](int x, int y) { return luma[y * stride + x]; });
}

}  // namespace testsupport
