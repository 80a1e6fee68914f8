#include "gps/SidecarTrack.h"

#include "gps/GpsSentence.h"
#include "gps/NmeaTrack.h"
#include "gps/SentenceTrack.h"

namespace vantrel {

namespace {

class SidecarTrackSource : public StreamTrackSource {
 public:
  const char* name() const override { return "sidecar"; }
  TrackPlace place() const override { return TrackPlace::Sidecar; }
  unsigned timing() const override { return kTimingStep; }
  // Text that is neither standard NMEA nor XML.
  bool probe(const std::string&, std::string_view head) const override {
    const size_t start = head.find_first_not_of(" \t\r\n");
    if (start != std::string_view::npos && head[start] == '<') return false;
    return classifyTrackText(head) != TrackText::Nmea;
  }
  int read(std::FILE* file, const TrackRequest& request, Track& track) const override;
};

int SidecarTrackSource::read(std::FILE* file, const TrackRequest& request, Track& track) const {
  SentenceTrackBuilder sentences;
  std::string line;
  while (!request.stopped() && readTrackLine(file, line) == 0) {
    sentences.add(sentenceFromBytes(line.data(), line.size()));
  }
  if (std::ferror(file)) return -1;
  track = sentences.finish();
  return 0;
}

}  // namespace

std::string sidecarPath(const std::string& recording) {
  if (recording.size() < 3) return std::string();
  return recording.substr(0, recording.size() - 3) + "TXT";
}

int readTrackLine(std::FILE* file, std::string& line) {
  line.clear();
  int c = getc_unlocked(file);
  if (c == EOF) return -1;
  bool textEnded = false;
  for (; c != EOF && c != '\n'; c = getc_unlocked(file)) {
    if (c == '\r') {  // CR LF is a line end, as text mode reads it
      int next = getc_unlocked(file);
      if (next == '\n') break;
      if (next != EOF) std::ungetc(next, file);
    }
    if (c == '\0') textEnded = true;
    if (!textEnded && line.size() < kMaxTrackLineLength) line.push_back(static_cast<char>(c));
  }
  return line.empty() ? 1 : 0;
}

const StreamTrackSource& sidecarTrackSource() {
  static const SidecarTrackSource source;
  return source;
}

}  // namespace vantrel
