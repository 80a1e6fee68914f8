#include "gps/SidecarTrack.h"

#include <cerrno>
#include <cstring>

#include "gps/GpsSentence.h"
#include "gps/TrackFile.h"

namespace vantrel {

std::string sidecarPath(const std::string& recording) {
  if (recording.size() < 3) return std::string();
  return recording.substr(0, recording.size() - 3) + "TXT";
}

int readTrackLine(std::FILE* file, std::string& line) {
  line.clear();
  int c = std::getc(file);
  if (c == EOF) return -1;
  bool textEnded = false;
  for (; c != EOF && c != '\n'; c = std::getc(file)) {
    if (c == '\r') {  // CR LF is a line end, as text mode reads it
      int next = std::getc(file);
      if (next == '\n') break;
      if (next != EOF) std::ungetc(next, file);
    }
    if (c == '\0') textEnded = true;
    if (!textEnded && line.size() < kMaxTrackLineLength) line.push_back(static_cast<char>(c));
  }
  return line.empty() ? 1 : 0;
}

int readSidecarTrack(std::FILE* file, std::vector<std::string>& entries) {
  std::string line;
  while (readTrackLine(file, line) == 0)
    entries.push_back(sentenceFromBytes(line.data(), line.size()));
  return std::ferror(file) ? -1 : 0;
}

int loadSidecarTrack(PlayerState& state, std::string* reason) {
  std::string path = sidecarPath(state.getFileName());
  auto fail = [&](const std::string& why) {
    if (reason) *reason = why;
    return -1;
  };
  if (!isRegularTrackFile(path, reason)) return -1;
  uint64_t generation = state.gpsTrack.generation();
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) return fail("cannot open '" + path + "': " + std::strerror(errno));
  std::vector<std::string> entries;
  int result = readSidecarTrack(file, entries);
  std::fclose(file);
  if (result != 0) return fail("cannot read '" + path + "'");

  bool found = !entries.empty();
  state.gpsTrack.publish(generation, std::move(entries));
  if (found) state.gpsStreamIndex = 255;
  return 0;
}

}  // namespace vantrel
