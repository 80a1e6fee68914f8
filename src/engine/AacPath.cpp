#include "engine/AacPath.h"

#include <cmath>

namespace vantrel {

int aacSourcePlane(int planes) {
  return planes >= 2 ? 1 : 0;
}

int16_t aacSampleToS16(float x) {
  // Clamp before converting: a float beyond the int range is undefined to convert.
  const double scaled = std::trunc(static_cast<double>(x) * 32768.0);
  if (std::isnan(scaled)) return 0;
  if (scaled < -32768.0) return INT16_MIN;
  if (scaled > 32767.0) return INT16_MAX;
  return static_cast<int16_t>(scaled);
}

void aacPlaneToS16(const float* plane, int samples, int channels, int16_t* out) {
  for (int i = 0; i < samples; ++i) {
    const int16_t value = aacSampleToS16(plane[i]);
    for (int c = 0; c < channels; ++c) *out++ = value;
  }
}

}  // namespace vantrel
