#pragma once
// The part of a recording's track file that a clip of the recording covers,
// written beside the clip in the file's own format: the same lines, byte for
// byte, so the clip plays with its part of the track.
#include <cstddef>
#include <cstdint>
#include <string>

namespace vantrel {

// Entries [first, last) of a track that cover [start, end) seconds of a
// recording of durationSeconds, as playback maps seconds to entries: entry i
// stands for the seconds from i / step to (i + 1) / step (trackStepFor).
struct EntryRange {
  size_t first = 0;
  size_t last = 0;
};
EntryRange trackEntriesFor(size_t entries, int64_t durationSeconds, double start, double end);

// Whether playback takes recording's track from a file beside it (a MOV
// file carries its own).
bool hasTrackFile(const std::string& recording);
// Where the track file of a clip saved as clip goes, named as playback looks
// for it.
std::string clipTrackPath(const std::string& clip);

enum TrackCutStatus { kTrackCutWritten = 0, kTrackCutFailed = -1, kTrackCutEmpty = 1 };

// Writes the lines of the TXT track beside recording that cover [start, end)
// to target (made by the caller as a new, empty file). kTrackCutEmpty when
// the span holds no entries: target is then removed. On failure target is
// removed and reason says why.
TrackCutStatus cutSidecarTrack(const std::string& recording, int64_t durationSeconds, double start,
                               double end, const std::string& target, std::string* reason);

}  // namespace vantrel
