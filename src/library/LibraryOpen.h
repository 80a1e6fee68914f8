#pragma once
// Where the library index lives and how it is opened: never fatal. A damaged
// file is set aside and made anew; a file that is locked by another program
// or cannot be written is bypassed with an index in memory for this run.
#include <memory>
#include <string>

#include "library/LibraryIndex.h"

namespace vantrel {

// $XDG_CACHE_HOME/vantrel/library.sqlite (~/.cache/vantrel/... without it);
// empty when neither variable names a place.
std::string libraryIndexPath();

struct OpenedLibrary {
  std::unique_ptr<LibraryIndex> index;  // never null
  // What was done instead of the plain open, for the status line; empty
  // when the file opened as it was.
  std::string note;
};

OpenedLibrary openLibraryIndex(const std::string& path);

}  // namespace vantrel
