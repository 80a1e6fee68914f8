#pragma once
// The open folder's library as the window uses it: a scan on the "library"
// thread when a folder opens, the clips and drives of the last scan, where a
// recording sits in its drive, and the clips that pass a place. UI thread
// only; the scan reports back through the poster the window gives.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "library/Drives.h"
#include "library/LibraryIndex.h"
#include "library/LibraryOpen.h"
#include "library/LibraryScan.h"

namespace vantrel {

// Radius of "Recordings here".
constexpr double kRecordingsHereMetres = 50;

struct LibraryContents {
  std::string folder;
  std::vector<ClipRecord> clips;  // the folder's recordings, readable or not
  std::vector<Drive> drives;      // indices into clips
  bool cancelled = false;         // the scan stopped early: clips holds what it did
  size_t read = 0;                // read afresh rather than taken from the index
};

// A moment of a drive: the clip that shows it and where in that clip.
struct DriveMoment {
  std::string path;
  int64_t offsetMs = 0;
};

class CDriveLibrary {
 public:
  // Runs a function on the UI thread later (the window's CallAfter).
  using Poster = std::function<void(std::function<void()>)>;

  // indexPath: the index file ("" for the usual place).
  explicit CDriveLibrary(Poster post, std::string indexPath = "");
  ~CDriveLibrary();
  CDriveLibrary(const CDriveLibrary&) = delete;
  CDriveLibrary& operator=(const CDriveLibrary&) = delete;

  // Scans the recordings paths of folder; an earlier scan is cancelled (what
  // it read stays indexed). finished runs on the UI thread once this scan's
  // contents are in place.
  void Scan(const std::string& folder, std::vector<std::string> paths,
            std::function<void()> finished);
  void Cancel() { m_scanner.cancel(); }
  bool Scanning() const { return m_scanner.running(); }
  size_t Done() const { return m_scanner.done(); }
  size_t Total() const { return m_scanner.total(); }

  const LibraryContents& Contents() const { return m_contents; }
  // The record of the recording at path, or nullptr.
  const ClipRecord* ClipOf(const std::string& path) const;
  // Waits for a running scan to stop (what it read stays indexed).
  void StopScan() { m_scanner.cancelAndWait(); }
  // What befell the index (bypassed, rebuilt), for the status line.
  std::string Note() const;

  // The drive and place of the recording at path; nullopt when it plays in none.
  std::optional<DrivePlace> PlaceOf(const std::string& path) const;
  // The clip of the drive at ms after the drive's start (the last clip that
  // started at or before it).
  std::optional<DriveMoment> MomentOf(size_t drive, int64_t ms) const;
  // Every pass within kRecordingsHereMetres of the point by a clip of the
  // open folder, nearest first.
  std::vector<PlaceHit> RecordingsHere(double latitude, double longitude) const;

 private:
  void OpenIndex();
  void Apply(const std::string& folder, ScanResult result);

  Poster m_post;
  std::string m_indexPath;
  OpenedLibrary m_index;  // opened at the first scan
  std::string m_openNote;
  LibraryScanner m_scanner;
  uint64_t m_scans = 0;  // a result of an older scan than this is dropped
  LibraryContents m_contents;
  std::unordered_map<std::string, size_t> m_clipByPath;
};

}  // namespace vantrel
