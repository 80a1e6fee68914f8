#pragma once
// The part of a recording's track file that a clip of the recording covers,
// written beside the clip in the file's own format, so the clip plays with
// its part of the track. Tracks in a stream of the recording travel with the
// clip's streams and need nothing here; tracks kept in the recording's own
// boxes (Novatek, BlackVue) do not, and their part is written beside the
// clip as an NMEA log.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace vantrel {

// A recording's track as playback finds it, when it is a file beside the
// recording.
struct TrackFile {
  std::string file;
  std::string source;  // the name of the source that read it ("sidecar")
  size_t fixes = 0;
  int64_t originUtcMs = 0;  // a timed track's first fix with a time: second 0
  bool inBoxes = false;     // file is the recording, whose boxes hold the track
};

// Looks for recording's track the way playback does; nothing when it has
// none or it is in a stream of the recording.
std::optional<TrackFile> trackFileOf(const std::string& recording);

// Where the track file of a clip saved as clip goes: named as playback looks
// for it (the clip's name with the track file's extension; for the file read
// by the sentence layout's own rule, that rule; .NMEA for a track in boxes).
std::string clipTrackPath(const TrackFile& track, const std::string& recording,
                          const std::string& clip);

// Entries [first, last) of a track of `entries` fixes spread one step apart
// (trackStepFor) over a recording of durationSeconds that cover [start, end)
// seconds: entry i stands for the seconds from i / step to (i + 1) / step.
struct EntryRange {
  size_t first = 0;
  size_t last = 0;
};
EntryRange trackEntriesFor(size_t entries, int64_t durationSeconds, double start, double end);

enum TrackCutStatus { kTrackCutWritten = 0, kTrackCutFailed = -1, kTrackCutEmpty = 1 };

// Writes the part of track that covers [start, end) seconds of its recording
// (of durationSeconds) to target, made by the caller as a new, empty file.
// kTrackCutEmpty when the span holds no entries: target is then removed. On
// failure target is removed and reason says why.
TrackCutStatus cutTrackFile(const TrackFile& track, int64_t durationSeconds, double start,
                            double end, const std::string& target, std::string* reason);

}  // namespace vantrel
