// `vantrel --play` as a user runs it: the playback goes on in vantrel-play,
// a process without the window's libraries, and still prints its summary;
// without vantrel-play beside it, vantrel plays by itself.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

#include "app/PlayProgram.h"
#include "app/TempFolder.h"

namespace fs = std::filesystem;

namespace {

const std::string kRecording = std::string(VANTREL_FIXTURES) + "/play-mono.MOV";  // 3 s, 25 fps

std::string readText(const fs::path& path) {
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

// Starts `program --play kRecording` with its output going to out.
pid_t startPlay(const fs::path& program, const fs::path& out) {
  const pid_t pid = fork();
  if (pid == 0) {
    std::freopen(out.c_str(), "w", stdout);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    execl(program.c_str(), "vantrel", "--play", kRecording.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  return pid;
}

bool hasPlaybackThread(const fs::path& proc) {
  std::error_code error;
  for (const auto& task : fs::directory_iterator(proc / "task", error)) {
    if (readText(task.path() / "comm") == "playback\n") return true;
  }
  return false;
}

// What the process has mapped once it runs `name` and plays (its libraries
// all loaded), up to 5 s; empty if it never does.
std::string mapsOncePlaying(pid_t pid, const std::string& name) {
  const fs::path proc = "/proc/" + std::to_string(pid);
  for (int i = 0; i < 250; ++i) {
    std::error_code error;
    if (fs::read_symlink(proc / "exe", error).filename() == name && hasPlaybackThread(proc)) {
      return readText(proc / "maps");
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return "";
}

// The exit status and the last line the player printed.
std::pair<int, std::string> finish(pid_t pid, const fs::path& out) {
  int status = 0;
  waitpid(pid, &status, 0);
  std::istringstream lines(readText(out));
  std::string last;
  for (std::string line; std::getline(lines, line);) last = line;
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, last};
}

}  // namespace

TEST(PlayProgram, PlaysInAProcessWithoutTheWindowLibraries) {
  testsupport::TempFolder folder;
  const fs::path out = folder.path() / "out.txt";
  const pid_t pid = startPlay(fs::path(VANTREL_BINARY_DIR) / "vantrel", out);
  ASSERT_GT(pid, 0);
  const std::string maps = mapsOncePlaying(pid, vantrel::kPlayProgram);
  EXPECT_NE(maps.find("libavcodec"), std::string::npos) << "not the playing process";
  for (const char* library : {"libwebkit2gtk", "libwx_", "libgtk-3", "libjavascriptcore"}) {
    EXPECT_EQ(maps.find(library), std::string::npos) << library << " loaded for --play";
  }
  const auto [status, summary] = finish(pid, out);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(summary.rfind("result=100 duration=3 frames=75 ", 0), 0u) << summary;
}

TEST(PlayProgram, WithoutThePlayerBesideItVantrelPlaysItself) {
  testsupport::TempFolder folder;
  const fs::path alone = folder.path() / "vantrel";
  fs::copy_file(fs::path(VANTREL_BINARY_DIR) / "vantrel", alone);
  const fs::path out = folder.path() / "out.txt";
  const pid_t pid = startPlay(alone, out);
  ASSERT_GT(pid, 0);
  const auto [status, summary] = finish(pid, out);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(summary.rfind("result=100 duration=3 frames=75 ", 0), 0u) << summary;
}
