#pragma once
// A source whose track sits in boxes of the recording itself (MP4, MOV): it
// reads the few boxes it needs by offset instead of walking the media data.
#include <atomic>
#include <string_view>

#include "gps/MediaBytes.h"
#include "gps/TrackSource.h"

namespace vantrel {

// The most fixes a recording's track keeps: days of 18 fixes a second, far
// below what memory allows.
constexpr size_t kMaxEmbeddedFixes = size_t{1} << 22;

// The first bytes of a file start with a box an MP4 or MOV starts with.
bool looksLikeIsoMedia(std::string_view head);

class EmbeddedTrackSource : public TrackSource {
 public:
  TrackPlace place() const override { return TrackPlace::Recording; }
  bool probe(const std::string& file, std::string_view head) const override;
  // Opens request.file and reads it; the track is named after this source
  // and the file.
  TrackLoad load(const TrackRequest& request) const override;
  // The fixes in bytes; the stream index when they came from a stream. -1
  // only when the bytes cannot be read at all.
  virtual int read(MediaBytes& bytes, const TrackRequest& request, Track& track) const = 0;
};

}  // namespace vantrel
