#include "map/MapCache.h"

#include <glib.h>

#include <filesystem>

namespace vantrel {

namespace fs = std::filesystem;

std::string mapCacheFolder() {
  // What the engine itself uses: the program's name in the user's cache folder.
  const char* program = g_get_prgname();
  return std::string(g_get_user_cache_dir()) + "/" + (program ? program : "vantrel") +
         "/WebKitCache";
}

bool limitMapCache(const std::string& folder, std::uintmax_t limit) {
  std::error_code error;
  std::uintmax_t total = 0;
  for (fs::recursive_directory_iterator it(folder, error), end; !error && it != end;
       it.increment(error)) {
    std::error_code sizeError;
    if (it->is_regular_file(sizeError)) total += it->file_size(sizeError);
  }
  if (error || total <= limit) return false;
  fs::remove_all(folder, error);
  return !error;
}

}  // namespace vantrel
