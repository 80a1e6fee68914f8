#include "app/Dirs.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

namespace vantrel {

namespace fs = std::filesystem;

static std::string withSlash(std::string dir) {
  if (!dir.empty() && dir.back() != '/') dir += '/';
  return dir;
}

std::string GetModuleDir() {
  std::error_code error;
  fs::path exe = fs::read_symlink("/proc/self/exe", error);
  if (!error && fs::is_directory(exe.parent_path() / "res", error)) {
    return withSlash(exe.parent_path().string());
  }
  return withSlash(VANTREL_DATA_DIR);
}

std::string GetUserDir() {
  const char* home = std::getenv("HOME");
  if (home && *home) return withSlash(home);
  if (const passwd* entry = getpwuid(getuid()); entry && entry->pw_dir && *entry->pw_dir) {
    return withSlash(entry->pw_dir);
  }
  return "";
}

}  // namespace vantrel
