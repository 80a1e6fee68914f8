#include "app/FolderLibrary.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>

#include "app/Playlist.h"
#include "library/LibraryOpen.h"

namespace vantrel {

namespace fs = std::filesystem;

bool listFolderRecordings(const std::string& folder, std::vector<std::string>& paths,
                          std::string& error) {
  // The index keys clips by path: the same file must give the same path from
  // wherever the program was started.
  std::error_code ignored;
  const std::string absolute = fs::absolute(folder, ignored).lexically_normal().string();
  FolderListing listing = listRecordings(absolute.empty() ? folder : absolute);
  if (listing.error) {
    error = "cannot read the folder '" + folder + "': " + listing.error.message();
    return false;
  }
  paths = std::move(listing.paths);
  std::sort(paths.begin(), paths.end());
  return true;
}

bool scanFolderLibrary(const std::string& folder, const std::string& indexPath,
                       FolderLibrary& library, std::string& error) {
  std::vector<std::string> paths;
  if (!listFolderRecordings(folder, paths, error)) return false;
  OpenedLibrary opened = openLibraryIndex(indexPath);
  library.scan = scanClips(paths, *opened.index);
  opened.index->forgetOthers(paths.empty() ? folder : folderOf(paths.front()), paths);
  opened.index->flush();
  library.drives = groupDrives(library.scan.clips);
  library.note = opened.note.empty() ? opened.index->note() : opened.note;
  return true;
}

void reportUnreadable(const std::vector<ClipRecord>& clips, std::FILE* err) {
  for (const ClipRecord& clip : clips) {
    if (!clip.readable) {
      std::fprintf(err, "vantrel: cannot read '%s': %s\n", clip.key.path.c_str(),
                   clip.reason.c_str());
    }
  }
}

}  // namespace vantrel
