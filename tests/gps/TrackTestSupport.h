#pragma once
// Helpers for the track tests: a scratch folder, files written byte for byte,
// the generated media.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace tracktest {

// A fresh folder under the system's temporary folder, removed afterwards.
class TempDir {
 public:
  TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "vantrel-gps-XXXXXX").string();
    path_ = mkdtemp(pattern.data()) ? pattern : std::string();
    EXPECT_FALSE(path_.empty());
  }
  ~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  std::string file(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

inline void writeFile(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

inline std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline std::string fixture(const std::string& name) {
  return std::string(VANTREL_FIXTURES) + "/" + name;
}

}  // namespace tracktest

namespace tracktest {

// What tests/fixtures/gps-track.py writes for these arguments.
inline std::string generatedTrack(const std::string& arguments) {
  const std::string command =
      std::string(VANTREL_SOURCE_DIR) + "/tests/fixtures/gps-track.py " + arguments;
  std::string text;
  if (std::FILE* pipe = popen(command.c_str(), "r")) {
    char buffer[4096];
    for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) text.append(buffer, n);
    pclose(pipe);
  }
  return text;
}

}  // namespace tracktest
