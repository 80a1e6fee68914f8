#pragma once
// One decoded picture as the display's converter reads it: 8-bit,
// limited-range 4:2:0 planes. Either the decoder's own picture, held by a
// reference (no copy; the decoder never writes into a picture it gave out),
// or a picture of another layout brought to this one in buffers of its own.
#include <cstdint>
#include <vector>

extern "C" {
struct AVFrame;
}

namespace vantrel {

class YuvPlanes {
 public:
  YuvPlanes() = default;
  ~YuvPlanes();
  YuvPlanes(const YuvPlanes&) = delete;
  YuvPlanes& operator=(const YuvPlanes&) = delete;

  int width = 0;
  int height = 0;
  const uint8_t* luma = nullptr;
  const uint8_t* cb = nullptr;
  const uint8_t* cr = nullptr;
  int lumaStride = 0;
  int chromaStride = 0;  // of cb and cr

  // Holds the frame's picture (8-bit limited-range 4:2:0) by a reference.
  // false when the frame's buffers cannot be referenced.
  bool refer(const AVFrame* frame);
  // Points at buffers of its own, packed rows for a width x height picture,
  // grown when it is larger than any before and never shrunk (a playlist of
  // mixed sizes allocates once). The planes to write a converted picture to.
  void own(int newWidth, int newHeight, uint8_t* planes[3], int strides[3]);
  // Lets go of the decoder's picture, if it holds one.
  void release();

 private:
  AVFrame* frame_ = nullptr;  // the reference, while it holds one
  std::vector<uint8_t> own_[3];
};

}  // namespace vantrel
