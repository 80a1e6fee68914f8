#pragma once
// Stretches a converted picture to the size of the video area, the way a
// colour-on-colour stretch does it: each output pixel is the nearest input
// pixel, no blending. The output is R, G, B, as images on screen take it.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "engine/BgrFrame.h"

namespace vantrel {

class FrameScaler {
 public:
  // Fills rgb (width x height x 3 bytes, no row padding) from frame.
  void scale(const BgrFrame& frame, int width, int height, uint8_t* rgb);

 private:
  // Byte offset of the source pixel of each output column; kept between
  // calls, recomputed when the sizes change.
  std::vector<int> columns_;
  int sourceWidth_ = 0;
  int width_ = 0;
};

// The input position serving output position i of n, for an input of size
// `size`: the input pixel under the centre of the output pixel.
inline int nearestSource(int i, int n, int size) {
  return static_cast<int>((2 * static_cast<int64_t>(i) + 1) * size / (2 * static_cast<int64_t>(n)));
}

}  // namespace vantrel
