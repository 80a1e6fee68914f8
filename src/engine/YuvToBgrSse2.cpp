// The SSE2 kernel: 16 pixels of two rows per step, sharing their chroma terms.
// SSE2 has no byte shuffle, so the B, G, R bytes are interleaved into 4-byte
// pixels with unpacks and then squeezed to 3 bytes with shifts and masks.
#include <emmintrin.h>

#include "engine/YuvToBgr.h"
#include "engine/YuvToBgrPixel.h"

namespace vantrel {
namespace {

struct ChromaTerms {
  __m128i blueLo, blueHi, greenLo, greenHi, redLo, redHi;  // pixels 0-7 and 8-15
};

// Signed 16-bit (sample - 128) * 8 for 8 chroma samples.
inline __m128i chromaInput(const uint8_t* samples) {
  const __m128i words = _mm_unpacklo_epi8(
      _mm_loadl_epi64(reinterpret_cast<const __m128i*>(samples)), _mm_setzero_si128());
  return _mm_slli_epi16(_mm_sub_epi16(words, _mm_set1_epi16(128)), 3);
}

inline ChromaTerms chromaTerms(const uint8_t* u, const uint8_t* v) {
  const __m128i cb = chromaInput(u);
  const __m128i cr = chromaInput(v);
  const __m128i blue = _mm_mulhi_epi16(cb, _mm_set1_epi16(yuv::kBlueFromCb));
  const __m128i green = _mm_adds_epi16(_mm_mulhi_epi16(cb, _mm_set1_epi16(yuv::kGreenFromCb)),
                                       _mm_mulhi_epi16(cr, _mm_set1_epi16(yuv::kGreenFromCr)));
  const __m128i red = _mm_mulhi_epi16(cr, _mm_set1_epi16(yuv::kRedFromCr));
  // Each chroma sample serves two neighbouring pixels.
  return {_mm_unpacklo_epi16(blue, blue),   _mm_unpackhi_epi16(blue, blue),
          _mm_unpacklo_epi16(green, green), _mm_unpackhi_epi16(green, green),
          _mm_unpacklo_epi16(red, red),     _mm_unpackhi_epi16(red, red)};
}

// Squeezes 4 pixels of B, G, R, 0 into 12 bytes at the bottom of the register.
inline __m128i squeezePixels(__m128i bgr0) {
  const __m128i even = _mm_and_si128(bgr0, _mm_set_epi32(0, 0x00FFFFFF, 0, 0x00FFFFFF));
  const __m128i odd =
      _mm_srli_epi64(_mm_and_si128(bgr0, _mm_set_epi32(0x00FFFFFF, 0, 0x00FFFFFF, 0)), 8);
  const __m128i sixes = _mm_or_si128(even, odd);  // 6 bytes at the bottom of each half
  const __m128i low = _mm_and_si128(sixes, _mm_set_epi32(0, 0, 0x0000FFFF, -1));
  const __m128i high = _mm_and_si128(_mm_srli_si128(sixes, 2), _mm_set_epi32(0, -1, 0xFFFF0000, 0));
  return _mm_or_si128(low, high);
}

inline void storeBgr(uint8_t* out, __m128i b, __m128i g, __m128i r) {
  const __m128i zero = _mm_setzero_si128();
  const __m128i bgLo = _mm_unpacklo_epi8(b, g);
  const __m128i bgHi = _mm_unpackhi_epi8(b, g);
  const __m128i r0Lo = _mm_unpacklo_epi8(r, zero);
  const __m128i r0Hi = _mm_unpackhi_epi8(r, zero);
  const __m128i p0 = squeezePixels(_mm_unpacklo_epi16(bgLo, r0Lo));
  const __m128i p1 = squeezePixels(_mm_unpackhi_epi16(bgLo, r0Lo));
  const __m128i p2 = squeezePixels(_mm_unpacklo_epi16(bgHi, r0Hi));
  const __m128i p3 = squeezePixels(_mm_unpackhi_epi16(bgHi, r0Hi));
  __m128i* dst = reinterpret_cast<__m128i*>(out);
  _mm_storeu_si128(dst, _mm_or_si128(p0, _mm_slli_si128(p1, 12)));
  _mm_storeu_si128(dst + 1, _mm_or_si128(_mm_srli_si128(p1, 4), _mm_slli_si128(p2, 8)));
  _mm_storeu_si128(dst + 2, _mm_or_si128(_mm_srli_si128(p2, 8), _mm_slli_si128(p3, 4)));
}

inline __m128i lumaTerm(__m128i y8) {
  return _mm_mulhi_epi16(_mm_slli_epi16(y8, 3), _mm_set1_epi16(yuv::kLuma));
}

inline void convertBlock(const uint8_t* yRow, const ChromaTerms& c, uint8_t* out) {
  const __m128i y =
      _mm_subs_epu8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(yRow)), _mm_set1_epi8(16));
  const __m128i lumaLo = lumaTerm(_mm_unpacklo_epi8(y, _mm_setzero_si128()));
  const __m128i lumaHi = lumaTerm(_mm_unpackhi_epi8(y, _mm_setzero_si128()));
  const __m128i b =
      _mm_packus_epi16(_mm_adds_epi16(lumaLo, c.blueLo), _mm_adds_epi16(lumaHi, c.blueHi));
  const __m128i g =
      _mm_packus_epi16(_mm_adds_epi16(lumaLo, c.greenLo), _mm_adds_epi16(lumaHi, c.greenHi));
  const __m128i r =
      _mm_packus_epi16(_mm_adds_epi16(lumaLo, c.redLo), _mm_adds_epi16(lumaHi, c.redHi));
  storeBgr(out, b, g, r);
}

void rowPair(const uint8_t* y0, const uint8_t* y1, const uint8_t* u, const uint8_t* v,
             uint8_t* out0, uint8_t* out1, int width) {
  constexpr int kBlock = 16;
  const int blocks = width / kBlock * kBlock;
  for (int x = 0; x < blocks; x += kBlock) {
    const ChromaTerms c = chromaTerms(u + x / 2, v + x / 2);
    convertBlock(y0 + x, c, out0 + 3 * x);
    convertBlock(y1 + x, c, out1 + 3 * x);
  }
  yuv::convertRowTail(y0, u, v, out0, blocks, width);
  yuv::convertRowTail(y1, u, v, out1, blocks, width);
}

}  // namespace

void convertYuvToBgrSse2(const uint8_t* yPlane, int yStride, const uint8_t* uPlane,
                         const uint8_t* vPlane, int uvStride, uint8_t* out, int width, int height,
                         int outStride) {
  yuv::forEachRowPair(yPlane, yStride, uPlane, vPlane, uvStride, out, width, height, outStride,
                      rowPair);
}

}  // namespace vantrel
