#pragma once
// The AAC path: the decoder's planar float output turned into the device's
// interleaved signed 16-bit frames without the resampler. One plane is
// played on every device channel.
#include <cstdint>

namespace vantrel {

// The plane that is played: the second when there are two or more, else the
// first (mono AAC has a single plane).
int aacSourcePlane(int planes);

// x * 32768 truncated toward zero, clamped to the 16-bit range.
int16_t aacSampleToS16(float x);

// Writes `samples` frames of `channels` interleaved samples to out, each frame
// carrying the converted plane sample on every channel.
void aacPlaneToS16(const float* plane, int samples, int channels, int16_t* out);

}  // namespace vantrel
