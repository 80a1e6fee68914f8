#include "library/LibraryOpen.h"

#include <cstdlib>
#include <filesystem>

#include "library/SqliteLibraryIndex.h"

namespace vantrel {

namespace {

std::unique_ptr<LibraryIndex> memoryIndex() {
  int code = 0;
  std::string reason;
  return SqliteLibraryIndex::open(":memory:", code, reason);
}

OpenedLibrary bypassed(const std::string& why) {
  return {memoryIndex(), why + ": this session keeps its library index in memory."};
}

}  // namespace

std::string libraryIndexPath() {
  const char* cache = std::getenv("XDG_CACHE_HOME");
  if (cache && *cache == '/') return std::string(cache) + "/vantrel/library.sqlite";
  const char* home = std::getenv("HOME");
  if (home && *home) return std::string(home) + "/.cache/vantrel/library.sqlite";
  return "";
}

OpenedLibrary openLibraryIndex(const std::string& path) {
  if (path.empty()) return bypassed("No cache folder is known");
  std::error_code error;
  std::filesystem::create_directories(std::filesystem::path(path).parent_path(), error);
  if (error) return bypassed("Cannot make the folder of " + path + " (" + error.message() + ")");

  int code = 0;
  std::string reason;
  if (auto index = SqliteLibraryIndex::open(path, code, reason)) return {std::move(index), ""};
  if (SqliteLibraryIndex::isDamage(code) && SqliteLibraryIndex::setAside(path)) {
    if (auto index = SqliteLibraryIndex::open(path, code, reason)) {
      return {std::move(index), "The library index was damaged: it was set aside as " + path +
                                    ".damaged and is built anew."};
    }
  }
  if ((code & 0xff) == SQLITE_BUSY || (code & 0xff) == SQLITE_LOCKED) {
    return bypassed("The library index " + path + " is in use by another program");
  }
  return bypassed("The library index " + path + " cannot be used (" + reason + ")");
}

}  // namespace vantrel
