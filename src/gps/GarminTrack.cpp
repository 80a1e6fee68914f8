#include "gps/GarminTrack.h"

#include <cstring>

#include "gps/BoxReader.h"
#include "gps/ByteOrder.h"
#include "gps/FixChecks.h"
#include "gps/SampleEntries.h"
#include "gps/StreamPackets.h"

namespace vantrel {

namespace {

constexpr size_t kTextLength = 2;  // in front of every text sample
constexpr size_t kRecordBytes = 20;
constexpr double kDegreesPerSemicircle = 180.0 / 2147483648.0;
constexpr double kKmhPerMph = 1.609344;

class GarminTrackSource : public EmbeddedTrackSource {
 public:
  const char* name() const override { return "garmin"; }
  unsigned timing() const override { return kTimingOffset; }
  int read(MediaBytes& bytes, const TrackRequest& request, Track& track) const override;
};

int GarminTrackSource::read(MediaBytes& bytes, const TrackRequest& request, Track& track) const {
  if (!hasTextTrack(bytes)) return 0;
  const StreamRead read = readStreamPackets(
      bytes, EmbeddedStream::Text, request.quit, [&track](const StreamPacket& packet) {
        GpsFix fix;
        if (track.fixes.size() < kMaxEmbeddedFixes && decodePndmSample(packet.data, fix)) {
          fix.offsetMs = packet.startMs;
          fix.flags |= kFixOffset;
          track.fixes.push_back(fix);
        }
      });
  track.streamIndex = read.streamIndex;
  return 0;
}

}  // namespace

bool decodePndmSample(std::span<const uint8_t> sample, GpsFix& fix) {
  if (sample.size() < kTextLength + kRecordBytes) return false;
  const uint8_t* record = sample.data() + kTextLength;
  if (std::memcmp(record, "PNDM", 4) != 0) return false;
  const double latitude = static_cast<int32_t>(readBe32(record + 12)) * kDegreesPerSemicircle;
  const double longitude = static_cast<int32_t>(readBe32(record + 16)) * kDegreesPerSemicircle;
  if (!plausiblePosition(latitude, longitude)) return false;
  fix = GpsFix();
  setFixPosition(fix, latitude, longitude);
  fix.speedKmh = plausibleSpeed(readBe16(record + 8) * kKmhPerMph);
  return true;
}

const EmbeddedTrackSource& garminTrackSource() {
  static const GarminTrackSource source;
  return source;
}

}  // namespace vantrel
