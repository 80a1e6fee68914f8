#include "library/TrackExport.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "library/CivilTime.h"
#include "library/TextEscape.h"
#include "library/TrackExportWriters.h"

namespace vantrel {

namespace {

std::string fileNameOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

ExportSegment segmentOf(const ClipRecord& clip, const ClipTime& time) {
  ExportSegment segment{fileNameOf(clip.key.path), {}};
  segment.points.reserve(clip.points.size());
  for (const ClipPoint& p : clip.points) {
    ExportPoint point{time.startMs + p.offsetMs, p.latitude, p.longitude, p.speedKmh, std::nullopt};
    if (p.has(kPointAltitude)) point.altitude = p.altitude;
    segment.points.push_back(point);
  }
  return segment;
}

}  // namespace

std::optional<ExportFormat> exportFormatNamed(std::string_view name) {
  if (name == "gpx") return ExportFormat::Gpx;
  if (name == "kml") return ExportFormat::Kml;
  if (name == "csv") return ExportFormat::Csv;
  if (name == "geojson") return ExportFormat::GeoJson;
  return std::nullopt;
}

const char* exportExtension(ExportFormat format) {
  switch (format) {
    case ExportFormat::Gpx:
      return ".gpx";
    case ExportFormat::Kml:
      return ".kml";
    case ExportFormat::Csv:
      return ".csv";
    case ExportFormat::GeoJson:
      return ".geojson";
  }
  return "";
}

size_t ExportTrack::pointCount() const {
  size_t count = 0;
  for (const ExportSegment& segment : segments) count += segment.points.size();
  return count;
}

ExportTrack clipExportTrack(const ClipRecord& clip) {
  ExportTrack track{fileNameOf(clip.key.path), {}};
  if (!clip.points.empty()) track.segments.push_back(segmentOf(clip, clipTime(clip)));
  return track;
}

ExportTrack driveExportTrack(const Drive& drive, const std::vector<ClipRecord>& clips) {
  ExportTrack track{"Drive " + formatIsoUtc(drive.startMs), {}};
  for (const DriveClip& driveClip : drive.clips) {
    const ClipRecord& clip = clips[driveClip.clip];
    if (!clip.points.empty()) track.segments.push_back(segmentOf(clip, driveClip.time));
  }
  return track;
}

void writeExport(const ExportTrack& track, ExportFormat format, std::ostream& out) {
  switch (format) {
    case ExportFormat::Gpx:
      writeGpx(track, out);
      break;
    case ExportFormat::Kml:
      writeKml(track, out);
      break;
    case ExportFormat::Csv:
      writeCsv(track, out);
      break;
    case ExportFormat::GeoJson:
      writeGeoJson(track, out);
      break;
  }
}

bool writeExportFile(const ExportTrack& track, ExportFormat format, const std::string& path,
                     std::string& reason) {
  const std::string partial = path + ".partial";
  {
    std::ofstream out(partial, std::ios::binary | std::ios::trunc);
    if (out) writeExport(track, format, out);
    out.flush();
    if (!out) {
      reason = "cannot write '" + path + "': " + std::strerror(errno);
      std::error_code ignored;
      std::filesystem::remove(partial, ignored);
      return false;
    }
  }
  std::error_code error;
  std::filesystem::rename(partial, path, error);
  if (error) {
    std::filesystem::remove(partial, error);
    reason = "cannot write '" + path + "': " + error.message();
    return false;
  }
  return true;
}

}  // namespace vantrel
