#pragma once
// Saves a span of a recording without re-encoding: the packets of every
// stream the output container can hold (pictures, sound, the GPS text stream)
// are copied from the video keyframe at or before the span's start to its
// end, with their times moved so that the clip starts at 0.
#include <cstdint>
#include <functional>
#include <string>

namespace vantrel {

// Told how far the copy has got (0 to 1); false cancels it.
using ClipProgress = std::function<bool(double fraction)>;

struct ClipResult {
  // The span written, in seconds of the recording: start is the keyframe the
  // clip begins with, end the end of its last picture.
  double start = 0.0;
  double end = 0.0;
  int streams = 0;             // streams copied
  int skippedStreams = 0;      // streams the output container cannot hold
  int64_t sourceDuration = 0;  // the recording's length in whole seconds, as playback counts it
  std::string reason;          // why it failed or was cancelled
};

enum ClipStatus { kClipWritten = 0, kClipFailed = -1, kClipCancelled = 1 };

// Copies [start, end) seconds of source into target, whose name decides the
// container (a name it does not tell takes the source's). target is
// overwritten: the caller has made it as a new, empty file. On failure or
// cancel the target is removed and result->reason says why. start past the
// recording's end fails; an end past it is the recording's end.
ClipStatus writeClip(const std::string& source, const std::string& target, double start, double end,
                     const ClipProgress& progress, ClipResult* result);

}  // namespace vantrel
