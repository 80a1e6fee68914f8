#include "app/FrameScaler.h"

#include <algorithm>
#include <cmath>
#include <cstring>

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
  if (columns_.blended || rows_.blended) {
    fillBlended(frame, width, height, out, stride);
  } else {
    fillNearest(frame, width, height, out, stride);
  }
}

namespace {

uint32_t pixel(uint32_t r, uint32_t g, uint32_t b) {
  return r << 16 | g << 8 | b;
}

uint32_t* outputRow(uint8_t* out, int stride, int y) {
  return reinterpret_cast<uint32_t*>(out + static_cast<size_t>(y) * stride);
}

}  // namespace

void FrameScaler::fillNearest(const BgrFrame& frame, int width, int height, uint8_t* out,
                              int stride) const {
  for (int y = 0; y < height; ++y) {
    uint32_t* row = outputRow(out, stride, y);
    if (rows_.first[y] < 0) {
      std::fill(row, row + width, 0u);
      continue;
    }
    const uint8_t* source = frame.row(rows_.first[y]);
    const int* taps = columns_.first.data();
    for (int x = 0; x < width; ++x) {
      const int c = taps[x];
      row[x] = c < 0 ? 0u : pixel(source[c + 2], source[c + 1], source[c]);
    }
  }
}

void FrameScaler::fillBlended(const BgrFrame& frame, int width, int height, uint8_t* out,
                              int stride) const {
  for (int y = 0; y < height; ++y) {
    uint32_t* row = outputRow(out, stride, y);
    if (rows_.first[y] < 0) {
      std::fill(row, row + width, 0u);
      continue;
    }
    const uint8_t* top = frame.row(rows_.first[y]);
    const uint8_t* bottom = frame.row(rows_.second[y]);
    const int wy = rows_.weight[y];
    for (int x = 0; x < width; ++x) {
      const int a = columns_.first[x];
      if (a < 0) {
        row[x] = 0;
        continue;
      }
      const int b = columns_.second[x];
      const int wx = columns_.weight[x];
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
