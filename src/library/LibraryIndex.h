#pragma once
// The library index: what was read of each recording, kept between runs and
// keyed by path, size and modification time, plus a spatial index of the
// tracks. One small interface, so that a library of a whole fleet could live
// in a server database instead of the embedded one. Every call may come from
// any thread (a scan looks clips up from its reader threads).
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "library/ClipRecord.h"

namespace vantrel {

struct PlaceHit {
  std::string path;
  int64_t offsetMs = 0;       // when the track came closest, into the recording
  double distanceMetres = 0;  // how close it came
};

class LibraryIndex {
 public:
  virtual ~LibraryIndex() = default;
  // The record kept for key.path when its size and modification time still
  // match key; nullopt otherwise (never kept, changed, or unreadable index).
  virtual std::optional<ClipRecord> find(const ClipKey& key) = 0;
  // Adds or replaces the record of clip.key.path; false when it could not
  // be kept (the caller still has it).
  virtual bool store(const ClipRecord& clip) = 0;
  // Forgets the records of files directly in folder that are not in keep.
  virtual void forgetOthers(const std::string& folder, const std::vector<std::string>& keep) = 0;
  // Makes what was stored so far last, even if the program ends now.
  virtual void flush() = 0;
  // Every pass of a kept track within radiusMetres of the point, one hit per
  // pass, nearest first; only clips directly in folder unless it is empty.
  virtual std::vector<PlaceHit> recordingsNear(double latitude, double longitude,
                                               double radiusMetres, const std::string& folder) = 0;
  // Where it is kept, for messages: a file, or "memory".
  virtual std::string where() const = 0;
  // What befell it while in use (found damaged and made anew, ...), for the
  // status line; empty when nothing did.
  virtual std::string note() const = 0;
};

// The folder part of path ("" for a bare name).
std::string folderOf(const std::string& path);

}  // namespace vantrel
