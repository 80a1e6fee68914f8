#pragma once
// When a clip was recorded: by its track's dates when it has them, else by
// the date and time in its file name (the camera's local time), else by its
// modification time (when the camera finished writing it).
#include <cstdint>

#include "library/ClipRecord.h"

namespace vantrel {

enum class ClipTimeSource { Track, Name, Modified };

struct ClipTime {
  int64_t startMs = 0;  // UTC
  int64_t endMs = 0;    // UTC, at least startMs
  ClipTimeSource source = ClipTimeSource::Modified;
};

ClipTime clipTime(const ClipRecord& clip);

// "track", "name", "modified".
const char* clipTimeSourceName(ClipTimeSource source);

}  // namespace vantrel
