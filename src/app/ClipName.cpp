#include "app/ClipName.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>

namespace vantrel {

std::string spanText(double seconds) {
  const long long whole = seconds > 0 ? static_cast<long long>(std::floor(seconds)) : 0;
  char text[48];
  if (whole >= 3600) {
    std::snprintf(text, sizeof text, "%lldh%02lldm%02llds", whole / 3600, whole / 60 % 60,
                  whole % 60);
  } else {
    std::snprintf(text, sizeof text, "%lldm%02llds", whole / 60, whole % 60);
  }
  return text;
}

std::string clipBaseName(const std::string& recording, double start, double end) {
  const std::string stem = std::filesystem::path(recording).stem().string();
  return stem + "_" + spanText(start) + "-" + spanText(end);
}

std::string numberedName(const std::string& base, int number, const std::string& ext) {
  return number <= 1 ? base + ext : base + "_" + std::to_string(number) + ext;
}

bool createNewFile(const std::string& path, bool* exists, std::string* why) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
  if (fd >= 0) {
    ::close(fd);
    return true;
  }
  if (exists) *exists = errno == EEXIST;
  if (why) *why = std::strerror(errno);
  return false;
}

}  // namespace vantrel
