#include "app/FrameScaler.h"

namespace vantrel {

void FrameScaler::scale(const BgrFrame& frame, int width, int height, uint8_t* rgb) {
  if (sourceWidth_ != frame.width || width_ != width) {
    columns_.resize(width);
    for (int x = 0; x < width; ++x) columns_[x] = nearestSource(x, width, frame.width) * 3;
    sourceWidth_ = frame.width;
    width_ = width;
  }
  for (int y = 0; y < height; ++y) {
    const uint8_t* source = frame.row(nearestSource(y, height, frame.height));
    uint8_t* out = rgb + static_cast<size_t>(y) * width * 3;
    for (int x = 0; x < width; ++x, out += 3) {
      const uint8_t* bgr = source + columns_[x];
      out[0] = bgr[2];
      out[1] = bgr[1];
      out[2] = bgr[0];
    }
  }
}

}  // namespace vantrel
