#include "gps/NmeaStreamTrack.h"

#include <algorithm>
#include <string_view>

#include "gps/ByteOrder.h"
#include "gps/DerivedSpeed.h"
#include "gps/NmeaFixes.h"
#include "gps/NmeaSentences.h"
#include "gps/SampleEntries.h"
#include "gps/StreamPackets.h"

namespace vantrel {

namespace {

constexpr size_t kTextLength = 2;  // in front of every text sample

bool separates(char c) {
  return c == ';' || c == '\r' || c == '\n' || c == '\0';
}

class NmeaStreamTrackSource : public EmbeddedTrackSource {
 public:
  const char* name() const override { return "nmea-stream"; }
  unsigned timing() const override { return kTimingOffset | kTimingUtc; }
  int read(MediaBytes& bytes, const TrackRequest& request, Track& track) const override;
};

int NmeaStreamTrackSource::read(MediaBytes& bytes, const TrackRequest& request,
                                Track& track) const {
  if (!hasTextTrack(bytes)) return 0;
  NmeaFixes fixes(track.fixes);
  NmeaSentences sentences([&fixes](std::string_view sentence, bool) { fixes.take(sentence); });
  const StreamRead read =
      readStreamPackets(bytes, EmbeddedStream::Text, request.quit, [&](const StreamPacket& packet) {
        if (track.fixes.size() >= kMaxEmbeddedFixes) return;
        const size_t before = track.fixes.size();
        sentences.feed(nmeaOfTextSample(packet.data));
        for (size_t i = before; i < track.fixes.size(); ++i) {
          track.fixes[i].offsetMs = packet.startMs;
          track.fixes[i].flags |= kFixOffset;
        }
      });
  sentences.finish();
  deriveMissingSpeeds(track.fixes);
  track.recordedUnit = SpeedUnit::Knots;
  track.streamIndex = read.streamIndex;
  return 0;
}

}  // namespace

std::string nmeaOfTextSample(std::span<const uint8_t> sample) {
  std::string sentences;
  if (sample.size() < kTextLength) return sentences;
  const size_t length = std::min<size_t>(readBe16(sample.data()), sample.size() - kTextLength);
  const std::string_view text(reinterpret_cast<const char*>(sample.data()) + kTextLength, length);
  size_t start = 0;
  while (start < text.size()) {
    const size_t end = std::find_if(text.begin() + start, text.end(), separates) - text.begin();
    std::string_view piece = text.substr(start, end - start);
    while (!piece.empty() && piece.front() == ' ') piece.remove_prefix(1);
    if (!piece.empty()) {
      if (piece.front() != '$') sentences += '$';
      sentences.append(piece).append("\n");
    }
    start = end + 1;
  }
  return sentences;
}

const EmbeddedTrackSource& nmeaStreamTrackSource() {
  static const NmeaStreamTrackSource source;
  return source;
}

}  // namespace vantrel
