#pragma once
// Whether a recording's streams must be probed (some packets read and its
// first pictures decoded) before it plays, or its header already says all
// the playback needs to know of them.
struct AVFormatContext;

namespace vantrel {

// True for a QuickTime or MP4 file whose header names every picture and
// sound stream's codec, its size or sample rate and channels, and its
// length: what probing would find out again, at about the cost of decoding
// the first picture.
bool headerDescribesStreams(const AVFormatContext* format);

}  // namespace vantrel
