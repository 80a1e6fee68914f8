#pragma once
// What the library keeps of one recording: the file as it was when read
// (path, size, modification time), whether it could be read, its length and
// its track reduced to the points a route, a chart and an export need.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vantrel {

enum ClipPointFlag : uint8_t {
  kPointAltitude = 1 << 0,
  kPointGsensor = 1 << 1,
};

// One position of a clip's track, placed in the recording.
struct ClipPoint {
  int64_t offsetMs = 0;  // from the start of the recording
  double latitude = 0;   // degrees, negative south
  double longitude = 0;  // degrees, negative west
  float speedKmh = 0;
  float altitude = 0;     // metres, when kPointAltitude
  float gsensor[3] = {};  // x, y, z in g, when kPointGsensor
  uint8_t flags = 0;

  bool has(uint8_t flag) const { return (flags & flag) == flag; }
  bool operator==(const ClipPoint&) const = default;
};

// The file as the index knows it: a clip is read again when either changes.
struct ClipKey {
  std::string path;
  int64_t size = 0;
  int64_t mtimeNs = 0;  // modification time, nanoseconds since 1970 UTC
  bool operator==(const ClipKey&) const = default;
};

struct ClipRecord {
  ClipKey key;
  bool readable = false;
  std::string reason;       // why it could not be read, when not readable
  int64_t durationMs = 0;   // 0 when the recording does not say
  std::string trackSource;  // the track source that gave its track; empty: none
  // The UTC time at the start of the recording, when its track carries dates.
  std::optional<int64_t> utcStartMs;
  std::vector<ClipPoint> points;  // in the recording's order
};

}  // namespace vantrel
