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

std::vector<std::string> moduleDirCandidates(const std::string& exeDir,
                                             const std::string& installDir) {
  return {withSlash(exeDir),
          withSlash((fs::path(exeDir) / ".." / "share" / "vantrel").lexically_normal().string()),
          withSlash(installDir)};
}

std::string GetModuleDir() {
  std::error_code error;
  const fs::path exe = fs::read_symlink("/proc/self/exe", error);
  if (!error) {
    for (const std::string& dir :
         moduleDirCandidates(exe.parent_path().string(), VANTREL_INSTALL_DATA_DIR)) {
      if (fs::is_directory(dir + "res", error)) return dir;
    }
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
