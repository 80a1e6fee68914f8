#pragma once
// Choosing libavformat's demuxer for a QuickTime or MP4 file from its first
// box, instead of letting libavformat try every demuxer it knows on the
// file's head: for a short clip that probing costs more than reading the
// whole movie box. Any other file is probed as before.
#include <cstdint>
#include <span>

struct AVInputFormat;

namespace vantrel {

// Bytes of a file's head that tell.
constexpr size_t kIsoMediaHeadBytes = 12;

// The QuickTime/MP4 demuxer when head begins with a box such a file begins
// with; nullptr otherwise (then the caller lets libavformat probe).
const AVInputFormat* isoMediaFormat(std::span<const uint8_t> head);

}  // namespace vantrel
