#pragma once
// The samples of one stream of a recording, read through libavformat with
// every other stream discarded, so only the movie box and that stream's
// samples are read. For the tracks that cameras store as a stream of their
// own: GoPro's GPMF and the text streams. libavformat reads through a small
// buffer of its own here: with its default 32 KiB, each sample of a track
// would cost 32 KiB of reading.
#include <atomic>
#include <cstdint>
#include <functional>
#include <span>

#include "gps/MediaBytes.h"

namespace vantrel {

enum class EmbeddedStream {
  Text,  // the first text (subtitle) stream
  Gpmd,  // the first data stream with codec tag 'gpmd'
};

struct StreamPacket {
  std::span<const uint8_t> data;
  int64_t startMs = 0;     // where the sample starts in the recording
  int64_t durationMs = 0;  // 0 when the file does not say
};

struct StreamRead {
  int result = -1;       // 0 read, -1 libavformat could not read the bytes
  int streamIndex = -1;  // the stream read; -1 when there is none of the kind
};

// Hands each sample of the stream to sink in file order, until the end or
// until quit is set.
StreamRead readStreamPackets(MediaBytes& bytes, EmbeddedStream kind, const std::atomic<bool>* quit,
                             const std::function<void(const StreamPacket&)>& sink);

}  // namespace vantrel
