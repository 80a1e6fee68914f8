#include "gps/BlackVueTrack.h"

#include <algorithm>
#include <optional>
#include <string>

#include "gps/BoxReader.h"
#include "gps/ByteOrder.h"
#include "gps/DerivedSpeed.h"
#include "gps/NmeaFixes.h"
#include "gps/NmeaSentences.h"

namespace vantrel {

namespace {

constexpr size_t kRecordBytes = 10;
constexpr uint32_t kEndOfRecords = 0xFFFFFFFF;
// Hours of lines and records fit far below these.
constexpr size_t kMaxGpsBytes = 16u << 20;
constexpr size_t kMaxGsensorBytes = 16u << 20;
// Milliseconds since 1970 have 13 digits until the year 2286.
constexpr size_t kMaxStampDigits = 15;

// "[digits]" at the start of line: the number, and line after it.
std::optional<int64_t> takeStamp(std::string_view& line) {
  if (line.empty() || line.front() != '[') return std::nullopt;
  const size_t close = line.find(']');
  if (close == std::string_view::npos || close < 2 || close - 1 > kMaxStampDigits) {
    return std::nullopt;
  }
  int64_t stamp = 0;
  for (char c : line.substr(1, close - 1)) {
    if (c < '0' || c > '9') return std::nullopt;
    stamp = stamp * 10 + (c - '0');
  }
  line.remove_prefix(close + 1);
  return stamp;
}

struct Boxes {
  std::optional<Box> gps;
  std::optional<Box> gsensor;
};

// The `gps ` and `3gf ` boxes inside the top-level `free` boxes.
Boxes findBoxes(MediaBytes& bytes) {
  Boxes found;
  BoxWalk top(bytes, 0, bytes.size());
  while (std::optional<Box> box = top.next()) {
    if (box->type != fourCC("free")) continue;
    BoxWalk inside(bytes, *box);
    while (std::optional<Box> child = inside.next()) {
      if (child->type == fourCC("gps ") && !found.gps) found.gps = child;
      if (child->type == fourCC("3gf ") && !found.gsensor) found.gsensor = child;
    }
    if (found.gps) break;
  }
  return found;
}

class BlackVueTrackSource : public EmbeddedTrackSource {
 public:
  const char* name() const override { return "blackvue"; }
  unsigned timing() const override { return kTimingOffset | kTimingUtc; }
  int read(MediaBytes& bytes, const TrackRequest& request, Track& track) const override;
};

int BlackVueTrackSource::read(MediaBytes& bytes, const TrackRequest& request, Track& track) const {
  if (request.stopped()) return 0;
  const Boxes boxes = findBoxes(bytes);
  if (!boxes.gps) return 0;
  const std::optional<std::vector<uint8_t>> lines = readPayload(bytes, *boxes.gps, kMaxGpsBytes);
  if (!lines) return 0;
  readBlackVueGps(std::string_view(reinterpret_cast<const char*>(lines->data()), lines->size()),
                  track.fixes);
  track.recordedUnit = SpeedUnit::Knots;
  if (!boxes.gsensor) return 0;
  if (std::optional<std::vector<uint8_t>> records =
          readPayload(bytes, *boxes.gsensor, kMaxGsensorBytes)) {
    attachGsensor(readBlackVueGsensor(*records), track.fixes);
  }
  return 0;
}

}  // namespace

void readBlackVueGps(std::string_view lines, std::vector<GpsFix>& fixes) {
  NmeaFixes nmea(fixes);
  NmeaSentences sentences([&nmea](std::string_view sentence, bool) { nmea.take(sentence); });
  std::optional<int64_t> first;
  while (!lines.empty() && fixes.size() < kMaxEmbeddedFixes) {
    const size_t end = std::min(lines.find('\n'), lines.size());
    std::string_view line = lines.substr(0, end);
    lines.remove_prefix(std::min(end + 1, lines.size()));
    const std::optional<int64_t> stamp = takeStamp(line);
    if (stamp && !first) first = stamp;
    const size_t before = fixes.size();
    sentences.feed(line);
    sentences.feed("\n");
    for (size_t i = before; stamp && i < fixes.size(); ++i) {
      fixes[i].offsetMs = *stamp - *first;
      fixes[i].flags |= kFixOffset;
    }
  }
  sentences.finish();
  deriveMissingSpeeds(fixes);
}

std::vector<GsensorRecord> readBlackVueGsensor(std::span<const uint8_t> records) {
  std::vector<GsensorRecord> read;
  for (size_t at = 0; at + kRecordBytes <= records.size(); at += kRecordBytes) {
    const uint8_t* record = records.data() + at;
    const uint32_t ms = readBe32(record);
    if (ms == kEndOfRecords) break;
    GsensorRecord r;
    r.ms = ms;
    for (int axis = 0; axis < 3; ++axis) {
      r.g[axis] = static_cast<int16_t>(readBe16(record + 4 + 2 * axis)) / 10.0f;
    }
    read.push_back(r);
  }
  std::stable_sort(read.begin(), read.end(),
                   [](const GsensorRecord& a, const GsensorRecord& b) { return a.ms < b.ms; });
  return read;
}

void attachGsensor(const std::vector<GsensorRecord>& records, std::vector<GpsFix>& fixes) {
  for (GpsFix& fix : fixes) {
    if (!fix.has(kFixOffset)) continue;
    const auto after =
        std::upper_bound(records.begin(), records.end(), fix.offsetMs,
                         [](int64_t ms, const GsensorRecord& record) { return ms < record.ms; });
    if (after == records.begin()) continue;
    std::copy(std::begin(std::prev(after)->g), std::end(std::prev(after)->g), fix.gsensor);
    fix.flags |= kFixGsensor;
  }
}

const EmbeddedTrackSource& blackVueTrackSource() {
  static const BlackVueTrackSource source;
  return source;
}

}  // namespace vantrel
