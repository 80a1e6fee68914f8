#include "gps/GoProTrack.h"

#include "gps/BoxReader.h"
#include "gps/GpmfDecoder.h"
#include "gps/SampleEntries.h"
#include "gps/StreamPackets.h"

namespace vantrel {

namespace {

class GoProTrackSource : public EmbeddedTrackSource {
 public:
  const char* name() const override { return "gopro"; }
  unsigned timing() const override { return kTimingOffset | kTimingUtc; }
  int read(MediaBytes& bytes, const TrackRequest& request, Track& track) const override;
};

int GoProTrackSource::read(MediaBytes& bytes, const TrackRequest& request, Track& track) const {
  if (!hasSampleEntry(bytes, fourCC("gpmd"))) return 0;
  track.recordedUnit = SpeedUnit::MetresPerSecond;
  const StreamRead read = readStreamPackets(
      bytes, EmbeddedStream::Gpmd, request.quit, [&track](const StreamPacket& packet) {
        if (track.fixes.size() < kMaxEmbeddedFixes) {
          decodeGpmfPayload(packet.data, packet.startMs, packet.durationMs, track.fixes);
        }
      });
  track.streamIndex = read.streamIndex;
  return 0;
}

}  // namespace

const EmbeddedTrackSource& goProTrackSource() {
  static const GoProTrackSource source;
  return source;
}

}  // namespace vantrel
