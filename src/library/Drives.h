#pragma once
// Drives: the clips a dashcam cut one trip into, put back together. A clip
// belongs to the drive before it when it starts within kDriveGapMs of that
// drive's end; a rear camera's clip rides along with the front clip of the
// same moment, and the front one plays.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "library/ClipRecord.h"
#include "library/ClipTime.h"

namespace vantrel {

constexpr int64_t kDriveGapMs = 120'000;
// Front and rear files of one moment may start this far apart.
constexpr int64_t kPairStartToleranceMs = 2'000;

struct DriveClip {
  size_t clip = 0;             // index into the clips grouped
  std::optional<size_t> rear;  // the rear camera's clip of the same moment
  ClipTime time;
};

struct Drive {
  std::vector<DriveClip> clips;  // by start time
  int64_t startMs = 0;
  int64_t endMs = 0;
  // Great-circle distance between consecutive points, across clip boundaries.
  double distanceMetres = 0;
  float maxKmh = 0;   // the highest recorded speed
  size_t points = 0;  // route points of its clips
};

// The drives of clips, by start time. Clips that could not be read belong
// to none; clips without a track join by their time and add no distance.
std::vector<Drive> groupDrives(const std::vector<ClipRecord>& clips);

// Where clip (an index into the clips grouped) plays: its drive and its
// place in that drive; nullopt when it is in none (or only as a rear clip).
struct DrivePlace {
  size_t drive = 0;
  size_t position = 0;
};
std::optional<DrivePlace> drivePlaceOf(const std::vector<Drive>& drives, size_t clip);

// "drive <number> start=<UTC ISO 8601> end=<...> clips=<k> distance_km=<%.2f>
// max_kmh=<%.1f>", as `vantrel --index` prints it; a front/rear pair counts
// as one clip.
std::string driveLine(size_t number, const Drive& drive);

}  // namespace vantrel
