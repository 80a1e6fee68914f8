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
#include <vector>

#include "gps/TrackPrinter.h"
#include "gps/TrackSource.h"

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

// What a script of tests/fixtures writes for these arguments.
inline std::string fixtureOutput(const std::string& script, const std::string& arguments) {
  const std::string command =
      std::string(VANTREL_SOURCE_DIR) + "/tests/fixtures/" + script + " " + arguments;
  std::string text;
  if (std::FILE* pipe = popen(command.c_str(), "r")) {
    char buffer[4096];
    for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) text.append(buffer, n);
    pclose(pipe);
  }
  return text;
}

// gps-track.py: the sentence layout.
inline std::string generatedTrack(const std::string& arguments) {
  return fixtureOutput("gps-track.py", arguments);
}

// gps-log.py: NMEA, GPX and 70mai logs.
inline std::string generatedLog(const std::string& arguments) {
  return fixtureOutput("gps-log.py", arguments);
}

// The lines written to a temporary file, which is closed.
inline std::vector<std::string> linesOf(std::FILE* file) {
  std::rewind(file);
  std::vector<std::string> lines;
  std::string line;
  for (int c; (c = std::fgetc(file)) != EOF;) {
    if (c != '\n') {
      line.push_back(static_cast<char>(c));
      continue;
    }
    lines.push_back(line);
    line.clear();
  }
  std::fclose(file);
  return lines;
}

// Tab-separated column k of a line.
inline std::string column(const std::string& line, size_t k) {
  size_t start = 0;
  for (size_t i = 0; i < k && start != std::string::npos; ++i) {
    start = line.find('\t', start);
    if (start != std::string::npos) ++start;
  }
  if (start == std::string::npos) return std::string();
  return line.substr(start, line.find('\t', start) - start);
}

// The track a source reads from bytes, as if they were recording's log.
inline vantrel::Track readTrack(const vantrel::StreamTrackSource& source, const std::string& bytes,
                                const std::string& recording) {
  std::FILE* file = std::tmpfile();
  std::fwrite(bytes.data(), 1, bytes.size(), file);
  std::rewind(file);
  vantrel::Track track;
  EXPECT_EQ(source.read(file, {recording, "log", nullptr}, track), 0);
  std::fclose(file);
  return track;
}

// A fix as the track printer shows it without index and "ok", then what else
// it carries: " alt=", " q=", " course=", " g=x/y/z", " no-time".
inline std::string describeFix(const vantrel::GpsFix& fix) {
  using vantrel::GpsFix;
  std::string text = vantrel::formatTrackEntry(0, fix).substr(5);
  char extra[96];
  if (fix.has(vantrel::kFixAltitude)) {
    std::snprintf(extra, sizeof extra, " alt=%.1f", static_cast<double>(fix.altitude));
    text += extra;
  }
  if (fix.has(vantrel::kFixQuality)) text += " q=" + std::to_string(fix.quality);
  if (fix.has(vantrel::kFixHeading)) {
    std::snprintf(extra, sizeof extra, " course=%.1f", static_cast<double>(fix.heading));
    text += extra;
  }
  if (fix.has(vantrel::kFixGsensor)) {
    std::snprintf(extra, sizeof extra, " g=%.3f/%.3f/%.3f", static_cast<double>(fix.gsensor[0]),
                  static_cast<double>(fix.gsensor[1]), static_cast<double>(fix.gsensor[2]));
    text += extra;
  }
  if (!fix.has(vantrel::kFixUtc)) text += " no-time";
  return text;
}

// Every fix of a source's track from bytes, described.
inline std::vector<std::string> describedFixes(const vantrel::StreamTrackSource& source,
                                               const std::string& bytes,
                                               const std::string& recording = "clip.mp4") {
  std::vector<std::string> lines;
  for (const vantrel::GpsFix& fix : readTrack(source, bytes, recording).fixes) {
    lines.push_back(describeFix(fix));
  }
  return lines;
}

}  // namespace tracktest
