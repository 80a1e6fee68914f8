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

// Frame threads for a picture decoder: one per core. FFmpeg's own choice is
// one more; on two cores the third decodes no faster, and every frame thread
// holds pictures of its own (some 7 MB more at 1080p, 26 MB at 4K).
int videoDecoderThreads();

}  // namespace vantrel
