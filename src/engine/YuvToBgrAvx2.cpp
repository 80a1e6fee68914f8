// The AVX2 kernel: 32 pixels of two rows per step, sharing their chroma terms.
// Every function carries the avx2 target itself, so this file builds with the
// project's flags and runs only where yuvToBgrKernel found AVX2.
#include <immintrin.h>

#include <array>

#include "engine/YuvToBgr.h"
#include "engine/YuvToBgrPixel.h"

#define VANTREL_AVX2 __attribute__((target("avx2")))

namespace vantrel {
namespace {

// Byte shuffles that interleave 16 B, 16 G and 16 R bytes into 48 bytes of
// B, G, R pixels: output register `part` takes channel `channel` from these
// positions (0x80 leaves a zero for the other channels to fill).
constexpr std::array<uint8_t, 32> interleaveMask(int part, int channel) {
  std::array<uint8_t, 32> mask{};
  for (int i = 0; i < 16; ++i) {
    const int k = part * 16 + i;
    const uint8_t value = k % 3 == channel ? static_cast<uint8_t>(k / 3) : 0x80;
    mask[i] = value;
    mask[i + 16] = value;  // the same within both 128-bit lanes
  }
  return mask;
}

struct InterleaveMasks {
  __m256i m[3][3];  // [output part][channel]
};

VANTREL_AVX2 inline InterleaveMasks interleaveMasks() {
  static constexpr std::array<std::array<std::array<uint8_t, 32>, 3>, 3> bytes = {{
      {interleaveMask(0, 0), interleaveMask(0, 1), interleaveMask(0, 2)},
      {interleaveMask(1, 0), interleaveMask(1, 1), interleaveMask(1, 2)},
      {interleaveMask(2, 0), interleaveMask(2, 1), interleaveMask(2, 2)},
  }};
  InterleaveMasks masks;
  for (int part = 0; part < 3; ++part) {
    for (int channel = 0; channel < 3; ++channel) {
      masks.m[part][channel] =
          _mm256_loadu_si256(reinterpret_cast<const __m256i*>(bytes[part][channel].data()));
    }
  }
  return masks;
}

// Terms of 16 chroma samples, each doubled for its two pixels. Pixels are held
// lane-wise: "a" is pixels 0-7 | 16-23, "b" is pixels 8-15 | 24-31, which is
// the order the byte unpacks of 32 luma samples give.
struct ChromaTerms {
  __m256i blueA, blueB, greenA, greenB, redA, redB;
};

VANTREL_AVX2 inline __m256i chromaInput(const uint8_t* samples) {
  const __m256i words =
      _mm256_cvtepu8_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(samples)));
  return _mm256_slli_epi16(_mm256_sub_epi16(words, _mm256_set1_epi16(128)), 3);
}

VANTREL_AVX2 inline ChromaTerms chromaTerms(const uint8_t* u, const uint8_t* v) {
  const __m256i cb = chromaInput(u);
  const __m256i cr = chromaInput(v);
  const __m256i blue = _mm256_mulhi_epi16(cb, _mm256_set1_epi16(yuv::kBlueFromCb));
  const __m256i green =
      _mm256_adds_epi16(_mm256_mulhi_epi16(cb, _mm256_set1_epi16(yuv::kGreenFromCb)),
                        _mm256_mulhi_epi16(cr, _mm256_set1_epi16(yuv::kGreenFromCr)));
  const __m256i red = _mm256_mulhi_epi16(cr, _mm256_set1_epi16(yuv::kRedFromCr));
  return {_mm256_unpacklo_epi16(blue, blue),   _mm256_unpackhi_epi16(blue, blue),
          _mm256_unpacklo_epi16(green, green), _mm256_unpackhi_epi16(green, green),
          _mm256_unpacklo_epi16(red, red),     _mm256_unpackhi_epi16(red, red)};
}

VANTREL_AVX2 inline __m256i lumaTerm(__m256i y8) {
  return _mm256_mulhi_epi16(_mm256_slli_epi16(y8, 3), _mm256_set1_epi16(yuv::kLuma));
}

VANTREL_AVX2 inline __m256i interleavePart(const InterleaveMasks& masks, int part, __m256i b,
                                           __m256i g, __m256i r) {
  return _mm256_or_si256(_mm256_or_si256(_mm256_shuffle_epi8(b, masks.m[part][0]),
                                         _mm256_shuffle_epi8(g, masks.m[part][1])),
                         _mm256_shuffle_epi8(r, masks.m[part][2]));
}

VANTREL_AVX2 inline void convertBlock(const uint8_t* yRow, const ChromaTerms& c,
                                      const InterleaveMasks& masks, uint8_t* out) {
  const __m256i y = _mm256_subs_epu8(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(yRow)),
                                     _mm256_set1_epi8(16));
  const __m256i lumaA = lumaTerm(_mm256_unpacklo_epi8(y, _mm256_setzero_si256()));
  const __m256i lumaB = lumaTerm(_mm256_unpackhi_epi8(y, _mm256_setzero_si256()));
  // Packing a with b puts pixels 0-15 in the low lane and 16-31 in the high one.
  const __m256i b =
      _mm256_packus_epi16(_mm256_adds_epi16(lumaA, c.blueA), _mm256_adds_epi16(lumaB, c.blueB));
  const __m256i g =
      _mm256_packus_epi16(_mm256_adds_epi16(lumaA, c.greenA), _mm256_adds_epi16(lumaB, c.greenB));
  const __m256i r =
      _mm256_packus_epi16(_mm256_adds_epi16(lumaA, c.redA), _mm256_adds_epi16(lumaB, c.redB));
  const __m256i part0 = interleavePart(masks, 0, b, g, r);  // bytes 0-15 | 48-63
  const __m256i part1 = interleavePart(masks, 1, b, g, r);  // bytes 16-31 | 64-79
  const __m256i part2 = interleavePart(masks, 2, b, g, r);  // bytes 32-47 | 80-95
  __m256i* dst = reinterpret_cast<__m256i*>(out);
  _mm256_storeu_si256(dst, _mm256_permute2x128_si256(part0, part1, 0x20));
  _mm256_storeu_si256(dst + 1, _mm256_permute2x128_si256(part2, part0, 0x30));
  _mm256_storeu_si256(dst + 2, _mm256_permute2x128_si256(part1, part2, 0x31));
}

VANTREL_AVX2 void rowPair(const uint8_t* y0, const uint8_t* y1, const uint8_t* u, const uint8_t* v,
                          uint8_t* out0, uint8_t* out1, int width) {
  constexpr int kBlock = 32;
  const InterleaveMasks masks = interleaveMasks();
  const int blocks = width / kBlock * kBlock;
  for (int x = 0; x < blocks; x += kBlock) {
    const ChromaTerms c = chromaTerms(u + x / 2, v + x / 2);
    convertBlock(y0 + x, c, masks, out0 + 3 * x);
    convertBlock(y1 + x, c, masks, out1 + 3 * x);
  }
  yuv::convertRowTail(y0, u, v, out0, blocks, width);
  yuv::convertRowTail(y1, u, v, out1, blocks, width);
}

}  // namespace

void convertYuvToBgrAvx2(const uint8_t* yPlane, int yStride, const uint8_t* uPlane,
                         const uint8_t* vPlane, int uvStride, uint8_t* out, int width, int height,
                         int outStride) {
  yuv::forEachRowPair(yPlane, yStride, uPlane, vPlane, uvStride, out, width, height, outStride,
                      rowPair);
}

}  // namespace vantrel
