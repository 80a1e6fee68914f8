#pragma once
// A converted picture: rows of B, G, R bytes, top row first.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "engine/YuvPlanes.h"

namespace vantrel {

struct BgrFrame {
  int width = 0;
  int height = 0;
  int stride = 0;             // bytes per row, width x 3
  double time = 0.0;          // media time of the picture, seconds
  uint32_t generation = 0;    // of the playback that showed it
  double sampleAspect = 1.0;  // width of a pixel over its height, as the recording asks
  std::vector<uint8_t> pixels;
  // Set when the pixels hold the picture smaller, at the size the window
  // shows it: the decoded picture itself, for whatever needs it whole
  // (fullPicture() in engine/ShownPicture.h converts it).
  std::shared_ptr<const YuvPlanes> planes;

  // The recording's picture size, whatever the pixels' own.
  int pictureWidth() const { return planes ? planes->width : width; }
  int pictureHeight() const { return planes ? planes->height : height; }

  const uint8_t* row(int r) const { return pixels.data() + static_cast<size_t>(r) * stride; }
};

}  // namespace vantrel
