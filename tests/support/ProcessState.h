#pragma once
// What the test process holds, read from /proc: the threads still running by
// name, and the files still open. Tests check through these that a playback
// left nothing behind, as a user's process would see it.
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace testsupport {

inline std::vector<std::string> threadNames() {
  std::vector<std::string> names;
  std::error_code error;
  for (const auto& task : std::filesystem::directory_iterator("/proc/self/task", error)) {
    std::string name;
    std::getline(std::ifstream(task.path() / "comm"), name);
    names.push_back(name);
  }
  return names;
}

// How many threads of these names run.
inline int threadsNamed(const std::vector<std::string>& wanted) {
  int count = 0;
  for (const std::string& name : threadNames()) {
    for (const std::string& one : wanted) count += name == one;
  }
  return count;
}

// The engine's workers: the demuxer and the two decoders.
inline int engineWorkerThreads() {
  return threadsNamed({"demux", "dec/video", "dec/audio"});
}

// Open files whose path starts with prefix.
inline int filesOpenUnder(const std::string& prefix) {
  int count = 0;
  std::error_code error;
  for (const auto& fd : std::filesystem::directory_iterator("/proc/self/fd", error)) {
    const std::string target = std::filesystem::read_symlink(fd.path(), error).string();
    count += !error && target.rfind(prefix, 0) == 0;
  }
  return count;
}

}  // namespace testsupport
