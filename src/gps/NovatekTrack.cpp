#include "gps/NovatekTrack.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <optional>
#include <vector>

#include "gps/BoxReader.h"
#include "gps/ByteOrder.h"
#include "gps/Coordinates.h"
#include "gps/FixChecks.h"
#include "gps/UtcTime.h"

namespace vantrel {

namespace {

constexpr char kBlockTag[] = "freeGPS ";  // at offset 4, after the block's size
constexpr size_t kTagLength = 8;
// The index of a day's recording is 8 bytes a second; a larger one is damaged.
constexpr size_t kMaxIndexBytes = 8 + 8 * 86400;
// A cut recording is searched in pieces of this size...
constexpr size_t kScanPiece = 1 << 20;
// ...until this much of it has passed without a block: the camera writes one
// a second, so a recording without one in its first minutes has none.
constexpr uint64_t kScanGiveUp = 64u << 20;

bool quitting(const std::atomic<bool>* quit) {
  return quit && quit->load() != 0;
}

// ddmm.mmmm and its hemisphere letter as signed degrees; nullopt for a
// letter that is not one of the two.
std::optional<double> degreesOf(float ddmm, char hemisphere, char positive, char negative) {
  if (hemisphere != positive && hemisphere != negative) return std::nullopt;
  if (!std::isfinite(ddmm) || ddmm < 0) return std::nullopt;
  const double degrees = nmeaToDegrees(static_cast<double>(ddmm));
  return hemisphere == positive ? degrees : -degrees;
}

void setUtc(GpsFix& fix, const uint8_t* time) {
  const uint32_t hour = readLe32(time), minute = readLe32(time + 4), second = readLe32(time + 8);
  const uint32_t year = readLe32(time + 12), month = readLe32(time + 16), day = readLe32(time + 20);
  if (hour > 23 || minute > 59 || second > 60 || year > 99 || month > 12 || day > 31) return;
  const int64_t msOfDay = ((hour * 60 + minute) * 60 + second) * int64_t{1000};
  if (std::optional<int64_t> utc = utcMs(static_cast<int>(2000 + year), static_cast<int>(month),
                                         static_cast<int>(day), msOfDay)) {
    fix.utcMs = *utc;
    fix.flags |= kFixUtc;
  }
}

// Adds the fix of the block at offset as the second-th of the recording.
void addBlock(MediaBytes& bytes, uint64_t offset, int64_t second, Track& track) {
  uint8_t block[kNovatekRecordBytes];
  if (bytes.readAt(offset, block) != sizeof block) return;
  GpsFix fix;
  if (!decodeNovatekBlock(block, fix)) return;
  fix.offsetMs = second * 1000;
  fix.flags |= kFixOffset;
  track.fixes.push_back(fix);
}

// The blocks the `gps ` box of the movie box lists: a version and flags, a
// big-endian count, then big-endian (offset, size) pairs.
void readIndexed(MediaBytes& bytes, const std::vector<uint8_t>& index,
                 const std::atomic<bool>* quit, Track& track) {
  if (index.size() < 8) return;
  const size_t listed = (index.size() - 8) / 8;
  const size_t count = std::min<size_t>(readBe32(index.data() + 4), listed);
  for (size_t i = 0; i < count && !quitting(quit); ++i) {
    const uint8_t* entry = index.data() + 8 + 8 * i;
    const uint64_t offset = readBe32(entry);
    if (readBe32(entry + 4) < kNovatekRecordBytes) continue;
    addBlock(bytes, offset, static_cast<int64_t>(i), track);
  }
}

// A recording without its movie box: the blocks found in file order.
void scanForBlocks(MediaBytes& bytes, const std::atomic<bool>* quit, Track& track) {
  std::vector<uint8_t> piece(kScanPiece);
  uint64_t position = 0;
  uint64_t lastFound = 0;
  int64_t second = 0;
  while (position < bytes.size() && position - lastFound < kScanGiveUp && !quitting(quit)) {
    const size_t got = bytes.readAt(position, piece);
    if (got < kTagLength) break;
    const auto end = piece.begin() + static_cast<std::ptrdiff_t>(got);
    for (auto at = std::search(piece.begin(), end, kBlockTag, kBlockTag + kTagLength); at != end;
         at = std::search(at + 1, end, kBlockTag, kBlockTag + kTagLength)) {
      const uint64_t tag = position + static_cast<uint64_t>(at - piece.begin());
      if (tag < 4) continue;
      addBlock(bytes, tag - 4, second++, track);
      lastFound = tag;
    }
    // The next piece overlaps this one by a tag's length less one, so a tag
    // across the boundary is found once.
    position += got - (kTagLength - 1);
  }
}

class NovatekTrackSource : public EmbeddedTrackSource {
 public:
  const char* name() const override { return "novatek"; }
  unsigned timing() const override { return kTimingOffset | kTimingUtc; }
  int read(MediaBytes& bytes, const TrackRequest& request, Track& track) const override;
};

int NovatekTrackSource::read(MediaBytes& bytes, const TrackRequest& request, Track& track) const {
  track.recordedUnit = SpeedUnit::Knots;
  const std::optional<Box> moov = findTopLevel(bytes, fourCC("moov"));
  if (!moov) {
    scanForBlocks(bytes, request.quit, track);
    return 0;
  }
  const std::optional<Box> index = findChild(bytes, *moov, fourCC("gps "));
  if (!index) return 0;
  if (std::optional<std::vector<uint8_t>> entries = readPayload(bytes, *index, kMaxIndexBytes)) {
    readIndexed(bytes, *entries, request.quit, track);
  }
  return 0;
}

}  // namespace

bool decodeNovatekBlock(std::span<const uint8_t> block, GpsFix& fix) {
  if (block.size() < kNovatekRecordBytes) return false;
  if (std::memcmp(block.data() + 4, kBlockTag, kTagLength) != 0) return false;
  const uint8_t* letters = block.data() + 72;
  const uint8_t* numbers = block.data() + 76;
  if (letters[0] != 'A') return false;
  const std::optional<double> latitude = degreesOf(readLeFloat(numbers), letters[1], 'N', 'S');
  const std::optional<double> longitude = degreesOf(readLeFloat(numbers + 4), letters[2], 'E', 'W');
  if (!latitude || !longitude || !plausiblePosition(*latitude, *longitude)) return false;
  fix = GpsFix();
  setFixPosition(fix, *latitude, *longitude);
  fix.speedKmh =
      plausibleSpeed(static_cast<double>(readLeFloat(numbers + 8)) * kmhPer(SpeedUnit::Knots));
  const float heading = readLeFloat(numbers + 12);
  if (std::isfinite(heading) && heading >= 0 && heading <= 360) {
    fix.heading = heading;
    fix.flags |= kFixHeading;
  }
  setUtc(fix, block.data() + 48);
  return true;
}

const EmbeddedTrackSource& novatekTrackSource() {
  static const NovatekTrackSource source;
  return source;
}

}  // namespace vantrel
