#include "gps/MovieTrack.h"

#include <cerrno>
#include <cstring>

#include "gps/GpsSentence.h"
#include "gps/MediaBytes.h"
#include "gps/NmeaTrack.h"
#include "gps/SentenceTrack.h"
#include "gps/StreamPackets.h"
#include "gps/TrackFile.h"

namespace vantrel {

namespace {

// Bytes in front of each text sample's sentence (its length, not read).
constexpr size_t kSamplePrefix = 2;

// The sentence of each sample of the first text stream, and the first
// kProbeBytes of them as lines into head.
StreamRead readTextSamples(MediaBytes& bytes, const TrackRequest& request,
                           SentenceTrackBuilder& sentences, std::string& head) {
  return readStreamPackets(
      bytes, EmbeddedStream::Text, request.quit, [&](const StreamPacket& packet) {
        // A sample shorter than its prefix holds no sentence: skip it rather than
        // read past its end.
        if (packet.data.size() < kSamplePrefix) return;
        const char* text = reinterpret_cast<const char*>(packet.data.data()) + kSamplePrefix;
        const std::string sentence = sentenceFromBytes(text, packet.data.size() - kSamplePrefix);
        sentences.add(sentence);
        if (head.size() < kProbeBytes) head.append(sentence).append("\n");
      });
}

class MovieTrackSource : public TrackSource {
 public:
  const char* name() const override { return "movie"; }
  TrackPlace place() const override { return TrackPlace::Recording; }
  unsigned timing() const override { return kTimingStep; }
  bool probe(const std::string& file, std::string_view) const override { return isMovieName(file); }
  TrackLoad load(const TrackRequest& request) const override;
};

TrackLoad MovieTrackSource::load(const TrackRequest& request) const {
  TrackLoad load;
  const std::string& path = request.file;
  if (!isRegularTrackFile(path, &load.reason)) return load;
  FileBytes bytes(path);
  if (!bytes.valid()) {
    load.reason = "cannot open '" + path + "': " + std::strerror(errno);
    return load;
  }
  SentenceTrackBuilder sentences;
  std::string head;
  const StreamRead read = readTextSamples(bytes, request, sentences, head);
  if (read.result != 0) {
    load.reason = "cannot read the streams of '" + path + "'";
    return load;
  }

  load.result = 0;
  // Standard NMEA (time in field 1) is not this layout: read as it, every
  // time would show 00:00:00 and knots as km/h. The source of NMEA in text
  // streams reads it instead.
  if (classifyTrackText(head) != TrackText::Nmea) load.track = sentences.finish();
  load.track.source = name();
  load.track.file = path;
  load.track.streamIndex = read.streamIndex;
  return load;
}

}  // namespace

bool isMovieName(std::string_view name) {
  return name.ends_with(".mov") || name.ends_with(".MOV");
}

const TrackSource& movieTrackSource() {
  static const MovieTrackSource source;
  return source;
}

}  // namespace vantrel
