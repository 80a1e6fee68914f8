#pragma once
// Finds and opens the decoder of a demultiplexed stream.
extern "C" {
struct AVCodecContext;
struct AVStream;
}

namespace vantrel {

// A decoder context made from the stream's parameters and opened, with frame
// times in the stream's time base; threads 0 lets FFmpeg pick. Null, with
// "Unsupported codec!" on stderr, when there is no decoder or it will not open.
AVCodecContext* openStreamDecoder(const AVStream* stream, int threads);

}  // namespace vantrel
