#include "app/IndexCommand.h"

#include "app/FolderLibrary.h"
#include "library/LibraryOpen.h"

extern "C" {
#include <libavutil/log.h>
}

namespace vantrel {

int printFolderIndex(const std::string& folder, const std::string& indexPath, std::FILE* out,
                     std::FILE* err) {
  FolderLibrary library;
  std::string error;
  if (!scanFolderLibrary(folder, indexPath, library, error)) {
    std::fprintf(err, "vantrel: %s\n", error.c_str());
    return 1;
  }
  if (!library.note.empty()) std::fprintf(err, "vantrel: %s\n", library.note.c_str());
  reportUnreadable(library.scan.clips, err);
  for (size_t i = 0; i < library.drives.size(); ++i) {
    std::fprintf(out, "%s\n", driveLine(i + 1, library.drives[i]).c_str());
  }
  std::fprintf(out, "clips=%zu indexed=%zu seconds=%.2f\n", library.scan.clips.size(),
               library.scan.read, library.scan.seconds);
  return 0;
}

int runIndexCommand(int argc, char** argv) {
  if (argc != 1) {
    std::fprintf(stderr, "Usage: vantrel --index FOLDER\n");
    return 2;
  }
  // Files that are no recordings are named with the reason; the decoding
  // libraries' own words about them would only repeat it.
  av_log_set_level(AV_LOG_QUIET);
  return printFolderIndex(argv[0], libraryIndexPath(), stdout, stderr);
}

}  // namespace vantrel
