#include "gps/NmeaTrack.h"

#include <cctype>
#include <optional>
#include <vector>

#include "gps/DerivedSpeed.h"
#include "gps/NmeaFixes.h"
#include "gps/NmeaSentences.h"
#include "gps/TextFields.h"
#include "gps/UtcTime.h"

namespace vantrel {

namespace {

class NmeaTrackSource : public StreamTrackSource {
 public:
  const char* name() const override { return "nmea"; }
  TrackPlace place() const override { return TrackPlace::Sidecar; }
  unsigned timing() const override { return kTimingUtc; }
  bool probe(const std::string&, std::string_view head) const override {
    return classifyTrackText(head) == TrackText::Nmea;
  }
  int read(std::FILE* file, const TrackRequest& request, Track& track) const override {
    NmeaFixes fixes(track.fixes);
    NmeaSentences sentences([&](std::string_view sentence, bool) { fixes.take(sentence); });
    if (!readChunks(file, request, [&](std::string_view bytes) {
          sentences.feed(bytes);
          return true;
        })) {
      return -1;
    }
    sentences.finish();
    deriveMissingSpeeds(track.fixes);
    track.recordedUnit = SpeedUnit::Knots;
    return 0;
  }
};

}  // namespace

TrackText classifyTrackText(std::string_view head) {
  std::optional<TrackText> byRmc;
  bool otherNmea = false;
  NmeaSentences sentences([&](std::string_view sentence, bool checked) {
    if (byRmc) return;
    const std::vector<std::string_view> f = splitFields(sentence);
    if (f[0].size() >= 4 && f[0].ends_with("RMC")) {
      const bool standard = f.size() > 2 && parseClockMs(f[1]) && f[2].size() == 1 &&
                            std::isalpha(static_cast<unsigned char>(f[2][0]));
      byRmc = standard ? TrackText::Nmea : TrackText::Sentences;
    }
    otherNmea = otherNmea || checked || f[0] == "$GSENSORD";
  });
  sentences.feed(head);
  sentences.finish();
  if (byRmc) return *byRmc;
  return otherNmea ? TrackText::Nmea : TrackText::Other;
}

const StreamTrackSource& nmeaTrackSource() {
  static const NmeaTrackSource source;
  return source;
}

}  // namespace vantrel
