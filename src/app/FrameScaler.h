#pragma once
// Draws a converted picture into the video area's pixels: the picture lies
// over a rectangle of the area (its shape kept, perhaps enlarged past the
// area's edges), black elsewhere. Scaled down, each output pixel is the
// nearest picture pixel; enlarged, it is blended from the four around it, so
// small text (a number plate) stays legible rather than blocky. Always from
// the decoded picture itself. The output is 32-bit pixels 0x00RRGGBB in
// the machine's byte order, as cairo's RGB24 surfaces and the X server take
// them, so no conversion stands between it and the screen.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "app/ZoomView.h"
#include "engine/BgrFrame.h"

namespace vantrel {

class FrameScaler {
 public:
  // Fills out (height rows of width pixels, stride bytes apart) with frame
  // drawn over rect.
  void scale(const BgrFrame& frame, const PictureRect& rect, int width, int height, uint8_t* out,
             int stride);

 private:
  // For one output column or row: the picture pixels it takes (first, and
  // second weighted by weight of 256), or first -1 where the picture is not.
  struct Taps {
    std::vector<int> first, second;
    std::vector<uint16_t> weight;
    bool blended = false;
  };
  static void plan(Taps& taps, int outputs, double start, double length, int size);
  void fillNearest(const BgrFrame& frame, int width, int height, uint8_t* out, int stride) const;
  void fillBlended(const BgrFrame& frame, int width, int height, uint8_t* out, int stride) const;

  Taps columns_, rows_;
  // What the taps were planned for.
  int sourceWidth_ = 0, sourceHeight_ = 0, width_ = 0, height_ = 0;
  PictureRect rect_;
};

}  // namespace vantrel
