#pragma once
// The converter's arithmetic for one pixel, shared by the scalar reference and
// by the SIMD kernels for the columns left over after their last full block.
#include <algorithm>
#include <cstddef>
#include <cstdint>

namespace vantrel::yuv {

// Coefficients of the terms, applied to the input times 8.
constexpr int kLuma = 9576;
constexpr int kRedFromCr = 13123;
constexpr int kGreenFromCb = -3218;
constexpr int kGreenFromCr = -6686;
constexpr int kBlueFromCb = 16591;

// The upper 16 bits of the signed 32-bit product: floor(8 x input x coef / 65536).
inline int term(int input, int coefficient) {
  return (input * 8 * coefficient) >> 16;
}

inline int addSaturated(int a, int b) {
  return std::clamp(a + b, -32768, 32767);
}

inline uint8_t clampByte(int value) {
  return static_cast<uint8_t>(std::clamp(value, 0, 255));
}

inline void convertPixel(uint8_t Y, uint8_t U, uint8_t V, uint8_t* bgr) {
  const int y = Y > 16 ? Y - 16 : 0;
  const int u = U - 128;
  const int v = V - 128;
  const int luma = term(y, kLuma);
  bgr[0] = clampByte(addSaturated(luma, term(u, kBlueFromCb)));
  bgr[1] =
      clampByte(addSaturated(luma, addSaturated(term(u, kGreenFromCb), term(v, kGreenFromCr))));
  bgr[2] = clampByte(addSaturated(luma, term(v, kRedFromCr)));
}

// Converts columns [from, width) of one row.
inline void convertRowTail(const uint8_t* yRow, const uint8_t* uRow, const uint8_t* vRow,
                           uint8_t* out, int from, int width) {
  for (int x = from; x < width; ++x) convertPixel(yRow[x], uRow[x / 2], vRow[x / 2], out + 3 * x);
}

}  // namespace vantrel::yuv

namespace vantrel::yuv {

// Walks the picture two rows at a time (they share a chroma row); a last odd
// row goes through as a pair of itself.
template <typename RowPair>
inline void forEachRowPair(const uint8_t* yPlane, int yStride, const uint8_t* uPlane,
                           const uint8_t* vPlane, int uvStride, uint8_t* out, int width, int height,
                           int outStride, RowPair rowPair) {
  for (int r = 0; r < height; r += 2) {
    const uint8_t* y0 = yPlane + static_cast<std::ptrdiff_t>(r) * yStride;
    uint8_t* out0 = out + static_cast<std::ptrdiff_t>(r) * outStride;
    const bool pair = r + 1 < height;
    const std::ptrdiff_t chroma = static_cast<std::ptrdiff_t>(r / 2) * uvStride;
    rowPair(y0, pair ? y0 + yStride : y0, uPlane + chroma, vPlane + chroma, out0,
            pair ? out0 + outStride : out0, width);
  }
}

}  // namespace vantrel::yuv
