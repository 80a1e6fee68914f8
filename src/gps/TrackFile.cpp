#include "gps/TrackFile.h"

#include <filesystem>

namespace vantrel {

bool isRegularTrackFile(const std::string& path, std::string* reason) {
  std::error_code error;
  if (std::filesystem::is_regular_file(path, error)) return true;
  if (reason) {
    *reason = "cannot open '" + path + "': " + (error ? error.message() : "not a regular file");
  }
  return false;
}

}  // namespace vantrel
