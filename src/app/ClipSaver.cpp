#include "app/ClipSaver.h"

#include <filesystem>
#include <optional>

#include "app/ClipName.h"
#include "gps/TrackCut.h"

namespace vantrel {

namespace {

// Numbered names stop somewhere: a folder that refuses this many is broken.
constexpr int kMaxNumber = 9999;

void removeFile(const std::string& path) {
  std::error_code ignored;
  if (!path.empty()) std::filesystem::remove(path, ignored);
}

// Makes clip (and its track file, when the recording has one) as new files.
// False when a name is taken (exists) or cannot be made (why).
bool reserve(SavedClip& saved, const std::optional<TrackFile>& track, const std::string& recording,
             bool* exists) {
  std::string why;
  if (!createNewFile(saved.clipPath, exists, &why)) {
    saved.reason = *exists ? "'" + saved.clipPath + "' already exists"
                           : "cannot write '" + saved.clipPath + "': " + why;
    return false;
  }
  if (!track) return true;
  saved.trackPath = clipTrackPath(*track, recording, saved.clipPath);
  if (saved.trackPath == saved.clipPath) {  // a clip named like a track file keeps the clip
    saved.trackPath.clear();
    return true;
  }
  if (createNewFile(saved.trackPath, exists, &why)) return true;
  saved.reason = *exists ? "'" + saved.trackPath + "' already exists"
                         : "cannot write '" + saved.trackPath + "': " + why;
  removeFile(saved.clipPath);
  saved.trackPath.clear();
  return false;
}

// With the files made: the clip, then its part of the track.
void write(SavedClip& saved, const std::optional<TrackFile>& track, const std::string& recording,
           double start, double end, const ClipProgress& progress) {
  saved.status = writeClip(recording, saved.clipPath, start, end, progress, &saved.clip);
  if (saved.status != kClipWritten) {
    saved.reason = saved.clip.reason;
    removeFile(saved.trackPath);
    saved.trackPath.clear();
    return;
  }
  if (saved.trackPath.empty()) return;
  // A track that cannot be cut costs the track file, not the clip.
  const TrackCutStatus cut = cutTrackFile(*track, saved.clip.sourceDuration, saved.clip.start,
                                          saved.clip.end, saved.trackPath, &saved.trackReason);
  if (cut != kTrackCutWritten) saved.trackPath.clear();
}

}  // namespace

SavedClip saveClipInto(const std::string& recording, const std::string& folder, double start,
                       double end, const ClipProgress& progress) {
  SavedClip saved;
  const std::optional<TrackFile> track = trackFileOf(recording);
  const std::string base = clipBaseName(recording, start, end);
  const std::string ext = std::filesystem::path(recording).extension().string();
  bool exists = true;
  for (int number = 1; exists && number <= kMaxNumber; ++number) {
    saved.clipPath = (std::filesystem::path(folder) / numberedName(base, number, ext)).string();
    if (reserve(saved, track, recording, &exists)) {
      write(saved, track, recording, start, end, progress);
      return saved;
    }
  }
  return saved;
}

SavedClip saveClipAs(const std::string& recording, const std::string& target, double start,
                     double end, const ClipProgress& progress) {
  SavedClip saved;
  saved.clipPath = target;
  const std::optional<TrackFile> track = trackFileOf(recording);
  bool exists = false;
  if (reserve(saved, track, recording, &exists))
    write(saved, track, recording, start, end, progress);
  return saved;
}

}  // namespace vantrel
