#pragma once
// Saving a clip of a recording: the span copied without re-encoding
// (ClipWriter) and, when the recording's track is a file beside it, the
// track cut to the same span beside the clip. Nothing is overwritten; a
// failed or cancelled save leaves no file behind.
#include <string>

#include "engine/ClipWriter.h"

namespace vantrel {

struct SavedClip {
  ClipStatus status = kClipFailed;
  std::string clipPath;
  std::string trackPath;    // empty when no track file was written
  std::string trackReason;  // why a track file the recording has was not cut
  ClipResult clip;
  std::string reason;  // why the clip was not saved
};

// Into folder, named by ClipName (numbered when the name is taken).
SavedClip saveClipInto(const std::string& recording, const std::string& folder, double start,
                       double end, const ClipProgress& progress);
// Into target exactly: a target that exists is refused.
SavedClip saveClipAs(const std::string& recording, const std::string& target, double start,
                     double end, const ClipProgress& progress);

}  // namespace vantrel
