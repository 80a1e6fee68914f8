#pragma once
// Decoded-looking frames for the picture hand-over's tests: any pixel layout,
// filled with one colour by libswscale, or with a pattern by hand.
#include <algorithm>
#include <cstdint>
#include <memory>
#include <vector>

extern "C" {
#include <libavutil/frame.h>
#include <libavutil/opt.h>
#include <libswscale/swscale.h>
}

namespace vantrel::videotest {

struct FrameDeleter {
  void operator()(AVFrame* frame) const { av_frame_free(&frame); }
};
using FramePtr = std::unique_ptr<AVFrame, FrameDeleter>;

// Rows padded as a decoder pads them (the line size exceeds the width).
inline FramePtr blankFrame(AVPixelFormat format, int width, int height) {
  FramePtr frame(av_frame_alloc());
  frame->format = format;
  frame->width = width;
  frame->height = height;
  av_frame_get_buffer(frame.get(), 64);
  return frame;
}

// The colour r, g, b in the given layout and range.
inline FramePtr solidFrame(AVPixelFormat format, int width, int height, bool fullRange, uint8_t r,
                           uint8_t g, uint8_t b) {
  FramePtr frame = blankFrame(format, width, height);
  frame->color_range = fullRange ? AVCOL_RANGE_JPEG : AVCOL_RANGE_MPEG;
  std::vector<uint8_t> rgb(static_cast<size_t>(width) * height * 3);
  for (size_t i = 0; i < rgb.size(); i += 3) {
    rgb[i] = r;
    rgb[i + 1] = g;
    rgb[i + 2] = b;
  }
  SwsContext* sws = sws_alloc_context();
  av_opt_set_int(sws, "srcw", width, 0);
  av_opt_set_int(sws, "srch", height, 0);
  av_opt_set_int(sws, "src_format", AV_PIX_FMT_RGB24, 0);
  av_opt_set_int(sws, "src_range", 1, 0);
  av_opt_set_int(sws, "dstw", width, 0);
  av_opt_set_int(sws, "dsth", height, 0);
  av_opt_set_int(sws, "dst_format", format, 0);
  av_opt_set_int(sws, "dst_range", fullRange ? 1 : 0, 0);
  if (sws_init_context(sws, nullptr, nullptr) >= 0) {
    const uint8_t* src[1] = {rgb.data()};
    const int srcStride[1] = {width * 3};
    sws_scale(sws, src, srcStride, 0, height, frame->data, frame->linesize);
  }
  sws_freeContext(sws);
  return frame;
}

// 8-bit 4:2:0 with the same Y, U and V everywhere.
inline FramePtr uniformFrame(int width, int height, uint8_t y, uint8_t u, uint8_t v) {
  FramePtr frame = blankFrame(AV_PIX_FMT_YUV420P, width, height);
  const uint8_t values[3] = {y, u, v};
  for (int plane = 0; plane < 3; ++plane) {
    const int rows = plane ? (height + 1) / 2 : height;
    std::fill_n(frame->data[plane], static_cast<size_t>(frame->linesize[plane]) * rows,
                values[plane]);
  }
  return frame;
}

// 8-bit 4:2:0 with every sample set from its position, so misplaced rows
// or columns show.
inline FramePtr patternFrame(int width, int height, uint8_t seed) {
  FramePtr frame = blankFrame(AV_PIX_FMT_YUV420P, width, height);
  for (int plane = 0; plane < 3; ++plane) {
    const int w = plane ? (width + 1) / 2 : width;
    const int h = plane ? (height + 1) / 2 : height;
    for (int y = 0; y < h; ++y) {
      for (int x = 0; x < w; ++x) {
        frame->data[plane][y * frame->linesize[plane] + x] =
            static_cast<uint8_t>(seed + x * 7 + y * 13 + plane * 50);
      }
    }
  }
  return frame;
}

}  // namespace vantrel::videotest
