#include "app/FrameScaler.h"

#include <algorithm>
#include <cmath>
#include <cstring>

// The pixel loops touch every pixel of every paint. Checked by ThreadSanitizer
// access by access they took a second per paint of a 1264x711 area, which
// slowed the window to a tenth of real time. Both buffers are the UI thread's
// alone while it paints (the picture, handed over under the video area's lock,
// is not written again until its last holder lets it go; the image is the
// area's own), so the loops go unchecked and scale() tells the checker of the
// whole ranges they read and write: a thread writing either during a paint,
// or a picture reused too early, is still reported.
#if defined(__SANITIZE_THREAD__)
extern "C" void __tsan_read_range(void* address, long size);
extern "C" void __tsan_write_range(void* address, long size);
#define PIXEL_LOOP __attribute__((no_sanitize("thread")))
#else
#define PIXEL_LOOP
#endif

namespace vantrel {

void FrameScaler::plan(Taps& taps, int outputs, double start, double length, int size) {
  taps.first.assign(outputs, -1);
  taps.second.assign(outputs, -1);
  taps.weight.assign(outputs, 0);
  taps.blended = length > size;
  for (int i = 0; i < outputs; ++i) {
    const double centre = i + 0.5 - start;  // of output pixel i, from the picture's edge
    if (centre < 0 || centre >= length) continue;
    if (!taps.blended) {
      // (Multiplied first: a whole result stays whole.)
      taps.first[i] = taps.second[i] = std::min(static_cast<int>(centre * size / length), size - 1);
      continue;
    }
    const double at = std::clamp(centre * size / length - 0.5, 0.0, size - 1.0);
    const int first = static_cast<int>(at);
    taps.first[i] = first;
    taps.second[i] = std::min(first + 1, size - 1);
    taps.weight[i] = static_cast<uint16_t>(std::lround((at - first) * 256));
  }
}

void FrameScaler::scale(const BgrFrame& frame, const PictureRect& rect, int width, int height,
                        uint8_t* out, int stride) {
  if (frame.width != sourceWidth_ || frame.height != sourceHeight_ || width != width_ ||
      height != height_ || std::memcmp(&rect, &rect_, sizeof rect) != 0) {
    plan(columns_, width, rect.x, rect.width, frame.width);
    plan(rows_, height, rect.y, rect.height, frame.height);
    // Column taps as byte offsets into a row.
    for (int& c : columns_.first) c = c < 0 ? -1 : c * 3;
    for (int& c : columns_.second) c = c < 0 ? -1 : c * 3;
    sourceWidth_ = frame.width;
    sourceHeight_ = frame.height;
    width_ = width;
    height_ = height;
    rect_ = rect;
  }
#if defined(__SANITIZE_THREAD__)
  __tsan_read_range(const_cast<uint8_t*>(frame.pixels.data()),
                    static_cast<long>(frame.pixels.size()));
  __tsan_write_range(out, static_cast<long>(height) * stride);
#endif
  if (columns_.blended || rows_.blended) {
    fillBlended(frame, width, height, out, stride);
  } else {
    fillNearest(frame, width, height, out, stride);
  }
}

namespace {

// (Marked like the loops, so that they are inlined into them.)
PIXEL_LOOP uint32_t pixel(uint32_t r, uint32_t g, uint32_t b) {
  return r << 16 | g << 8 | b;
}

PIXEL_LOOP uint32_t* outputRow(uint8_t* out, int stride, int y) {
  return reinterpret_cast<uint32_t*>(out + static_cast<size_t>(y) * stride);
}

PIXEL_LOOP void fillBlack(uint32_t* row, int width) {
  std::memset(row, 0, static_cast<size_t>(width) * sizeof *row);
}

}  // namespace

PIXEL_LOOP void FrameScaler::fillNearest(const BgrFrame& frame, int width, int height, uint8_t* out,
                                         int stride) const {
  const int* taps = columns_.first.data();
  for (int y = 0; y < height; ++y) {
    uint32_t* row = outputRow(out, stride, y);
    if (rows_.first[y] < 0) {
      fillBlack(row, width);
      continue;
    }
    const uint8_t* source = frame.row(rows_.first[y]);
    for (int x = 0; x < width; ++x) {
      const int c = taps[x];
      row[x] = c < 0 ? 0u : pixel(source[c + 2], source[c + 1], source[c]);
    }
  }
}

PIXEL_LOOP void FrameScaler::fillBlended(const BgrFrame& frame, int width, int height, uint8_t* out,
                                         int stride) const {
  const int* firsts = columns_.first.data();
  const int* seconds = columns_.second.data();
  const uint16_t* weights = columns_.weight.data();
  for (int y = 0; y < height; ++y) {
    uint32_t* row = outputRow(out, stride, y);
    if (rows_.first[y] < 0) {
      fillBlack(row, width);
      continue;
    }
    const uint8_t* top = frame.row(rows_.first[y]);
    const uint8_t* bottom = frame.row(rows_.second[y]);
    const int wy = rows_.weight[y];
    for (int x = 0; x < width; ++x) {
      const int a = firsts[x];
      if (a < 0) {
        row[x] = 0;
        continue;
      }
      const int b = seconds[x];
      const int wx = weights[x];
      uint32_t channels[3];  // B, G, R
      for (int k = 0; k < 3; ++k) {
        const int upper = top[a + k] * (256 - wx) + top[b + k] * wx;
        const int lower = bottom[a + k] * (256 - wx) + bottom[b + k] * wx;
        channels[k] = static_cast<uint32_t>((upper * (256 - wy) + lower * wy + 32768) >> 16);
      }
      row[x] = pixel(channels[2], channels[1], channels[0]);
    }
  }
}

}  // namespace vantrel
