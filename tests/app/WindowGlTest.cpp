// The window as a user starts it: its own process loads no GL driver, while
// the map's web process, started from it, gets GL and the user's environment
// as it was; a user's own GL settings stay in force everywhere.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "app/TempFolder.h"

namespace fs = std::filesystem;

namespace {

std::string readText(const fs::path& path) {
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

// pid and every process below it.
std::vector<pid_t> processTree(pid_t pid) {
  std::vector<pid_t> tree{pid};
  std::error_code error;
  for (const auto& task : fs::directory_iterator("/proc/" + std::to_string(pid) + "/task", error)) {
    std::istringstream children(readText(task.path() / "children"));
    for (pid_t child; children >> child;) {
      for (pid_t below : processTree(child)) tree.push_back(below);
    }
  }
  return tree;
}

bool mapsEglDriver(pid_t pid) {
  // libglvnd's drivers are named libEGL_<vendor>: libEGL_mesa, libEGL_nvidia.
  return readText("/proc/" + std::to_string(pid) + "/maps").find("/libEGL_") != std::string::npos;
}

// The web process once it has set up its GL display, up to 30 s; 0 if none does.
pid_t webProcessWithGl(pid_t window) {
  for (int i = 0; i < 300; ++i) {
    for (pid_t pid : processTree(window)) {
      const std::string name = readText("/proc/" + std::to_string(pid) + "/comm");
      if (name.rfind("WebKitWebProces", 0) == 0 && mapsEglDriver(pid)) return pid;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  return 0;
}

// NAME=value lines of the process's environment.
std::string environmentOf(pid_t pid) {
  std::string text = readText("/proc/" + std::to_string(pid) + "/environ");
  for (char& c : text) c = c == '\0' ? '\n' : c;
  return "\n" + text;
}

struct GlCase {
  const char* name;
  std::vector<std::pair<const char*, const char*>> userSet;
  bool windowMapsEglDriver;
};

}  // namespace

TEST(WindowGl, WindowLoadsNoGlDriverAndTheMapsProcessGetsTheUsersEnvironment) {
  const std::string defaultVendorDirs = "/etc/glvnd/egl_vendor.d:/usr/share/glvnd/egl_vendor.d";
  const GlCase cases[] = {
      {"left to the program", {}, false},
      {"the user's own choice",
       {{"__EGL_VENDOR_LIBRARY_DIRS", defaultVendorDirs.c_str()}, {"GDK_GL", "disable"}},
       true},
  };
  for (const GlCase& c : cases) {
    SCOPED_TRACE(c.name);
    testsupport::TempFolder home;
    const std::string recording = std::string(VANTREL_FIXTURES) + "/clip.MOV";
    const pid_t window = fork();
    if (window == 0) {
      std::freopen("/dev/null", "w", stderr);
      setenv("SDL_AUDIODRIVER", "dummy", 1);
      setenv("VANTREL_MAP_TILES", "none", 1);
      setenv("XDG_CONFIG_HOME", home.path().c_str(), 1);
      setenv("XDG_CACHE_HOME", home.path().c_str(), 1);
      unsetenv("__EGL_VENDOR_LIBRARY_DIRS");
      unsetenv("__EGL_VENDOR_LIBRARY_FILENAMES");
      unsetenv("GDK_GL");
      for (const auto& [name, value] : c.userSet) setenv(name, value, 1);
      const std::string program = std::string(VANTREL_BINARY_DIR) + "/vantrel";
      execl(program.c_str(), "vantrel", recording.c_str(), static_cast<char*>(nullptr));
      _exit(127);
    }
    ASSERT_GT(window, 0);
    const pid_t web = webProcessWithGl(window);
    EXPECT_GT(web, 0) << "no web process with GL: the map cannot draw";
    EXPECT_EQ(mapsEglDriver(window), c.windowMapsEglDriver);
    if (web > 0) {
      const std::string environment = environmentOf(web);
      for (const char* name :
           {"__EGL_VENDOR_LIBRARY_DIRS", "__EGL_VENDOR_LIBRARY_FILENAMES", "GDK_GL"}) {
        std::string expected;
        for (const auto& [userName, value] : c.userSet) {
          if (std::string(userName) == name)
            expected = std::string("\n") + name + "=" + value + "\n";
        }
        const auto at = environment.find(std::string("\n") + name + "=");
        if (expected.empty()) {
          EXPECT_EQ(at, std::string::npos) << name << " reached the web process";
        } else {
          EXPECT_NE(environment.find(expected), std::string::npos) << name << " not the user's";
        }
      }
    }
    kill(window, SIGTERM);
    int status = 0;
    waitpid(window, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) || WTERMSIG(status) == SIGTERM);
  }
}
