#pragma once
// A window manager (openbox) on the test display for the life of the object,
// for window tests that must hold under one as well as without one.
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>

extern char** environ;

namespace testsupport {

class WindowManager {
 public:
  // Starts openbox and waits (at most 10 s) until it has taken the screen:
  // it runs its start-up command only then.
  WindowManager() {
    const std::filesystem::path ready =
        std::filesystem::temp_directory_path() / ("vantrel-wm-" + std::to_string(getpid()));
    std::filesystem::remove(ready);
    const std::string startup = "touch '" + ready.string() + "'";
    const char* argv[] = {"openbox", "--sm-disable", "--startup", startup.c_str(), nullptr};
    if (posix_spawnp(&m_pid, "openbox", nullptr, nullptr, const_cast<char**>(argv), environ) != 0) {
      m_pid = 0;
      return;
    }
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!std::filesystem::exists(ready) && std::chrono::steady_clock::now() < end) {
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    m_running = std::filesystem::remove(ready);
  }
  ~WindowManager() {
    if (m_pid <= 0) return;
    kill(m_pid, SIGTERM);
    waitpid(m_pid, nullptr, 0);
  }
  WindowManager(const WindowManager&) = delete;
  WindowManager& operator=(const WindowManager&) = delete;

  bool running() const { return m_running; }

 private:
  pid_t m_pid = 0;
  bool m_running = false;
};

}  // namespace testsupport
