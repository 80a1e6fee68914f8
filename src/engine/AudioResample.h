#pragma once
// The general sound path: a decoded frame of any codec brought to the
// device's format (EngineState's audioTarget* fields: S16, interleaved) with
// libswresample. The resampler is set up again whenever the frames' format,
// layout or rate changes; a frame already in the device's format is copied.
#include <cstdint>
#include <vector>

extern "C" {
struct AVFrame;
}

namespace vantrel {

struct EngineState;

// The frame's channel layout as a mask: its own when it names its channels,
// else the default layout for its channel count (0 when there is none).
uint64_t frameSourceLayout(const AVFrame* frame);

// Appends the converted frame to out and returns the number of bytes
// appended, or -1 (with the reason on stderr) when the frame cannot be
// converted. Audio decoding thread only.
int resampleFrame(EngineState& engine, const AVFrame* frame, std::vector<uint8_t>& out);

// Releases the resampler (end of a playback).
void resamplerFree(EngineState& engine);

}  // namespace vantrel
