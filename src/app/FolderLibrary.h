#pragma once
// A folder's recordings as the library sees them: each clip's record (from
// the index when the file is unchanged, read afresh otherwise) and the drives
// they form. Used by the modes without a window; the window scans the same
// way on a thread of its own.
#include <string>
#include <vector>

#include "library/Drives.h"
#include "library/LibraryScan.h"

namespace vantrel {

struct FolderLibrary {
  ScanResult scan;            // every recording of the folder, in listing order
  std::vector<Drive> drives;  // indices into scan.clips
  std::string note;           // what happened to the index, when anything did
};

// The recordings directly in folder, sorted by path.
bool listFolderRecordings(const std::string& folder, std::vector<std::string>& paths,
                          std::string& error);

// Scans folder with the library index at indexPath; false with error when
// the folder cannot be read.
bool scanFolderLibrary(const std::string& folder, const std::string& indexPath,
                       FolderLibrary& library, std::string& error);

// Writes "vantrel: cannot read '<path>': <reason>" to err for each clip that
// could not be read.
void reportUnreadable(const std::vector<ClipRecord>& clips, std::FILE* err);

}  // namespace vantrel
