#pragma once
// Planar YUV 4:2:0 (8-bit, limited range) to packed 24-bit B, G, R pixels.
//
// Every term is floor(8 x input x coefficient / 65536) as a signed 16-bit
// multiply-high computes it; the sums are saturating 16-bit additions and each
// result is clamped to 0..255. The kernels give bit-identical results; the
// scalar one is the reference the others are tested against.
//
// Chroma sample (x / 2, y / 2) serves pixel (x, y), so odd widths and heights
// use the last chroma column and row for their extra pixels. Every column of
// every row is written and nothing past width x 3 bytes of a row.
#include <cstdint>

namespace vantrel {

using YuvToBgrKernel = void (*)(const uint8_t* yPlane, int yStride, const uint8_t* uPlane,
                                const uint8_t* vPlane, int uvStride, uint8_t* out, int width,
                                int height, int outStride);

// The fastest kernel this CPU runs, chosen once.
void convertYuvToBgr(const uint8_t* yPlane, int yStride, const uint8_t* uPlane,
                     const uint8_t* vPlane, int uvStride, uint8_t* out, int width, int height,
                     int outStride);

enum class YuvKernelKind { Scalar, Sse2, Avx2 };

// The kernel of that kind, or null when this CPU cannot run it.
YuvToBgrKernel yuvToBgrKernel(YuvKernelKind kind);
const char* yuvKernelName(YuvKernelKind kind);

void convertYuvToBgrScalar(const uint8_t* yPlane, int yStride, const uint8_t* uPlane,
                           const uint8_t* vPlane, int uvStride, uint8_t* out, int width, int height,
                           int outStride);
void convertYuvToBgrSse2(const uint8_t* yPlane, int yStride, const uint8_t* uPlane,
                         const uint8_t* vPlane, int uvStride, uint8_t* out, int width, int height,
                         int outStride);
// Only on a CPU with AVX2 (see yuvToBgrKernel).
void convertYuvToBgrAvx2(const uint8_t* yPlane, int yStride, const uint8_t* uPlane,
                         const uint8_t* vPlane, int uvStride, uint8_t* out, int width, int height,
                         int outStride);

}  // namespace vantrel
