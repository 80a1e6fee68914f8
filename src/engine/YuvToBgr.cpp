#include "engine/YuvToBgr.h"

#include "engine/YuvToBgrPixel.h"

namespace vantrel {

void convertYuvToBgrScalar(const uint8_t* yPlane, int yStride, const uint8_t* uPlane,
                           const uint8_t* vPlane, int uvStride, uint8_t* out, int width, int height,
                           int outStride) {
  for (int r = 0; r < height; ++r) {
    const std::ptrdiff_t chroma = static_cast<std::ptrdiff_t>(r / 2) * uvStride;
    yuv::convertRowTail(yPlane + static_cast<std::ptrdiff_t>(r) * yStride, uPlane + chroma,
                        vPlane + chroma, out + static_cast<std::ptrdiff_t>(r) * outStride, 0,
                        width);
  }
}

static bool cpuHasAvx2() {
  static const bool has = __builtin_cpu_supports("avx2");
  return has;
}

YuvToBgrKernel yuvToBgrKernel(YuvKernelKind kind) {
  switch (kind) {
    case YuvKernelKind::Scalar:
      return convertYuvToBgrScalar;
    case YuvKernelKind::Sse2:
      return convertYuvToBgrSse2;  // the x86-64 baseline
    case YuvKernelKind::Avx2:
      return cpuHasAvx2() ? convertYuvToBgrAvx2 : nullptr;
  }
  return nullptr;
}

const char* yuvKernelName(YuvKernelKind kind) {
  switch (kind) {
    case YuvKernelKind::Scalar:
      return "scalar";
    case YuvKernelKind::Sse2:
      return "sse2";
    case YuvKernelKind::Avx2:
      return "avx2";
  }
  return "?";
}

void convertYuvToBgr(const uint8_t* yPlane, int yStride, const uint8_t* uPlane,
                     const uint8_t* vPlane, int uvStride, uint8_t* out, int width, int height,
                     int outStride) {
  static const YuvToBgrKernel best = cpuHasAvx2() ? convertYuvToBgrAvx2 : convertYuvToBgrSse2;
  best(yPlane, yStride, uPlane, vPlane, uvStride, out, width, height, outStride);
}

}  // namespace vantrel
