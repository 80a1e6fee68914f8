#pragma once
// The track of a clip or of a whole drive, written for other programs: GPX
// 1.1 (time, elevation, speed in Garmin's TrackPointExtension), KML (a
// LineString per clip with its time span), CSV and GeoJSON.
#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "library/ClipRecord.h"
#include "library/Drives.h"

namespace vantrel {

enum class ExportFormat { Gpx, Kml, Csv, GeoJson };

// "gpx", "kml", "csv", "geojson" (as --to names them); nullopt for others.
std::optional<ExportFormat> exportFormatNamed(std::string_view name);
// The file name extension, with its dot.
const char* exportExtension(ExportFormat format);

struct ExportPoint {
  int64_t utcMs = 0;
  double latitude = 0;
  double longitude = 0;
  float speedKmh = 0;
  std::optional<float> altitude;
};

// The points of one clip; a track has one segment per clip.
struct ExportSegment {
  std::string clip;  // the recording's file name
  std::vector<ExportPoint> points;
};

struct ExportTrack {
  std::string name;
  std::vector<ExportSegment> segments;  // only segments with points
  size_t pointCount() const;
};

// A clip's points, timed from its start (ClipTime).
ExportTrack clipExportTrack(const ClipRecord& clip);
// The drive's clips that have points, in order.
ExportTrack driveExportTrack(const Drive& drive, const std::vector<ClipRecord>& clips);

void writeExport(const ExportTrack& track, ExportFormat format, std::ostream& out);

// Writes the track to path through a temporary file beside it, so a failed
// write leaves no half file. false with reason when it cannot be written.
bool writeExportFile(const ExportTrack& track, ExportFormat format, const std::string& path,
                     std::string& reason);

}  // namespace vantrel
