#include "engine/ShownPicture.h"

#include <algorithm>
#include <vector>

#include "engine/YuvToBgr.h"
#include "engine/YuvToBgrPixel.h"

namespace vantrel {

namespace {

// The picture pixel (0..size-1) under the centre of output pixel i of
// outputs spread evenly over it: the nearest one, reckoned in doubles and
// multiplied first, as the window's scaler plans it.
int nearestSource(int i, int outputs, int size) {
  const double centre = i + 0.5;
  return std::min(static_cast<int>(centre * size / outputs), size - 1);
}

}  // namespace

void convertWhole(const YuvPlanes& picture, BgrFrame& frame) {
  convertYuvToBgr(picture.luma, picture.lumaStride, picture.cb, picture.cr, picture.chromaStride,
                  frame.pixels.data(), frame.width, frame.height, frame.stride);
}

void convertShrunk(const YuvPlanes& picture, BgrFrame& frame) {
  std::vector<int> columns(frame.width);
  for (int x = 0; x < frame.width; ++x) columns[x] = nearestSource(x, frame.width, picture.width);
  for (int y = 0; y < frame.height; ++y) {
    const int row = nearestSource(y, frame.height, picture.height);
    const uint8_t* luma = picture.luma + static_cast<size_t>(row) * picture.lumaStride;
    const size_t chroma = static_cast<size_t>(row / 2) * picture.chromaStride;
    const uint8_t* cb = picture.cb + chroma;
    const uint8_t* cr = picture.cr + chroma;
    uint8_t* out = frame.pixels.data() + static_cast<size_t>(y) * frame.stride;
    for (int x = 0; x < frame.width; ++x) {
      const int c = columns[x];
      yuv::convertPixel(luma[c], cb[c / 2], cr[c / 2], out + 3 * x);
    }
  }
}

std::shared_ptr<const BgrFrame> fullPicture(std::shared_ptr<const BgrFrame> frame) {
  if (!frame || !frame->planes) return frame;
  auto full = std::make_shared<BgrFrame>();
  full->width = frame->planes->width;
  full->height = frame->planes->height;
  full->stride = full->width * 3;
  full->pixels.resize(static_cast<size_t>(full->stride) * full->height);
  convertWhole(*frame->planes, *full);
  full->time = frame->time;
  full->generation = frame->generation;
  full->sampleAspect = frame->sampleAspect;
  return full;
}

}  // namespace vantrel
