#pragma once
// Reads what the library keeps of one recording: the file's size and time,
// the recording's length from its header, and its track through the table of
// track sources, as a playback would find it.
#include <atomic>
#include <optional>
#include <string>

#include "gps/Track.h"
#include "library/ClipRecord.h"

namespace vantrel {

// The file's key; nullopt with reason set when it cannot be examined or is
// not a regular file.
std::optional<ClipKey> clipKeyOf(const std::string& path, std::string* reason = nullptr);

// Reads path. A file that is no readable recording comes back not readable,
// with the reason; a recording without a track is readable with no points.
// quit, when set, ends the reading early (the record is then incomplete).
ClipRecord readClip(const std::string& path, const std::atomic<bool>* quit = nullptr);

// The points of a track placed in a recording of durationMs (fixes without a
// time of their own are spread evenly over it), and the UTC time at the
// recording's start when the fixes carry dates.
void placeTrack(const Track& track, int64_t durationMs, ClipRecord& record);

}  // namespace vantrel
