#include "library/ClipTime.h"

#include <algorithm>

#include "library/NameTime.h"

namespace vantrel {

namespace {

// The recording's length, or its track's when the header gave none.
int64_t lengthMs(const ClipRecord& clip) {
  const int64_t trackEnd = clip.points.empty() ? 0 : clip.points.back().offsetMs;
  return std::max(clip.durationMs, trackEnd);
}

}  // namespace

ClipTime clipTime(const ClipRecord& clip) {
  const int64_t length = lengthMs(clip);
  if (clip.utcStartMs) return {*clip.utcStartMs, *clip.utcStartMs + length, ClipTimeSource::Track};
  if (std::optional<CivilTime> named = nameDateTime(clip.key.path)) {
    if (std::optional<int64_t> start = localMsOf(*named)) {
      return {*start, *start + length, ClipTimeSource::Name};
    }
  }
  const int64_t end = clip.key.mtimeNs / 1'000'000;
  return {end - length, end, ClipTimeSource::Modified};
}

const char* clipTimeSourceName(ClipTimeSource source) {
  switch (source) {
    case ClipTimeSource::Track:
      return "track";
    case ClipTimeSource::Name:
      return "name";
    case ClipTimeSource::Modified:
      return "modified";
  }
  return "";
}

}  // namespace vantrel
