#include "library/Drives.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "gps/TripStatistics.h"
#include "library/CameraPairs.h"
#include "library/CivilTime.h"

namespace vantrel {

namespace {

struct Entry {
  size_t clip;
  ClipTime time;
  CameraMarker marker;
  bool pairedAsRear = false;
  std::optional<size_t> rear;  // index into the entries
};

std::vector<Entry> readableEntries(const std::vector<ClipRecord>& clips) {
  std::vector<Entry> entries;
  for (size_t i = 0; i < clips.size(); ++i) {
    if (clips[i].readable)
      entries.push_back({i, clipTime(clips[i]), cameraMarker(clips[i].key.path), false, {}});
  }
  std::sort(entries.begin(), entries.end(), [&clips](const Entry& a, const Entry& b) {
    if (a.time.startMs != b.time.startMs) return a.time.startMs < b.time.startMs;
    return clips[a.clip].key.path < clips[b.clip].key.path;
  });
  return entries;
}

bool canPair(const Entry& front, const Entry& rear) {
  return front.marker.role == CameraRole::Front && front.marker.kind == rear.marker.kind &&
         !front.rear;
}

// Each rear clip goes with the nearest unpaired front clip of its kind that
// starts within the tolerance. Entries are sorted by start, so only the
// neighbours within the tolerance are looked at.
void pairCameras(std::vector<Entry>& entries) {
  for (size_t r = 0; r < entries.size(); ++r) {
    if (entries[r].marker.role != CameraRole::Rear) continue;
    const int64_t start = entries[r].time.startMs;
    size_t first = r;
    while (first > 0 && start - entries[first - 1].time.startMs <= kPairStartToleranceMs) --first;
    std::optional<size_t> best;
    int64_t bestGap = kPairStartToleranceMs + 1;
    for (size_t f = first;
         f < entries.size() && entries[f].time.startMs - start <= kPairStartToleranceMs; ++f) {
      const int64_t gap = std::abs(entries[f].time.startMs - start);
      if (canPair(entries[f], entries[r]) && gap < bestGap) {
        bestGap = gap;
        best = f;
      }
    }
    if (best) {
      entries[*best].rear = r;
      entries[r].pairedAsRear = true;
    }
  }
}

void addTotals(Drive& drive, const std::vector<ClipRecord>& clips) {
  const ClipPoint* previous = nullptr;
  for (const DriveClip& driveClip : drive.clips) {
    for (const ClipPoint& point : clips[driveClip.clip].points) {
      if (previous) {
        drive.distanceMetres += gpsDistanceMetres(previous->longitude, previous->latitude,
                                                  point.longitude, point.latitude);
      }
      drive.maxKmh = std::max(drive.maxKmh, point.speedKmh);
      previous = &point;
      ++drive.points;
    }
  }
}

}  // namespace

std::vector<Drive> groupDrives(const std::vector<ClipRecord>& clips) {
  std::vector<Entry> entries = readableEntries(clips);
  pairCameras(entries);
  std::vector<Drive> drives;
  for (const Entry& entry : entries) {
    if (entry.pairedAsRear) continue;
    DriveClip driveClip{entry.clip, std::nullopt, entry.time};
    if (entry.rear) driveClip.rear = entries[*entry.rear].clip;
    if (drives.empty() || entry.time.startMs > drives.back().endMs + kDriveGapMs) {
      drives.push_back(Drive{{}, entry.time.startMs, entry.time.endMs});
    }
    Drive& drive = drives.back();
    drive.clips.push_back(driveClip);
    drive.endMs = std::max(drive.endMs, entry.time.endMs);
  }
  for (Drive& drive : drives) addTotals(drive, clips);
  return drives;
}

std::optional<DrivePlace> drivePlaceOf(const std::vector<Drive>& drives, size_t clip) {
  for (size_t d = 0; d < drives.size(); ++d) {
    for (size_t k = 0; k < drives[d].clips.size(); ++k) {
      if (drives[d].clips[k].clip == clip) return DrivePlace{d, k};
    }
  }
  return std::nullopt;
}

std::string driveLine(size_t number, const Drive& drive) {
  char totals[96];
  std::snprintf(totals, sizeof totals, " clips=%zu distance_km=%.2f max_kmh=%.1f",
                drive.clips.size(), drive.distanceMetres / 1000, static_cast<double>(drive.maxKmh));
  return "drive " + std::to_string(number) + " start=" + formatIsoUtc(drive.startMs) +
         " end=" + formatIsoUtc(drive.endMs) + totals;
}

}  // namespace vantrel
