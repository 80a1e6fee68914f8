#include "app/DriveViews.h"

#include <cmath>
#include <cstdio>
#include <limits>

#include "app/LibraryTexts.h"
#include "gps/Coordinates.h"
#include "gps/Dashboard.h"
#include "library/CivilTime.h"
#include "library/PlacePasses.h"

namespace vantrel {

namespace {

constexpr double kNoValue = std::numeric_limits<double>::quiet_NaN();
constexpr double kFeetPerMetre = 3.2808399;

std::string printed(const char* format, double value) {
  char text[48];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

MapPoint mapPointOf(const ClipPoint& point) {
  return {formatDegrees(point.latitude), formatDegrees(point.longitude)};
}

double seconds(int64_t ms) {
  return static_cast<double>(ms) / 1000;
}

}  // namespace

DriveRow driveRow(const Drive& drive, int unitSelection) {
  const CivilTime start = civilOfLocal(drive.startMs), end = civilOfLocal(drive.endMs);
  char date[16], span[32];
  std::snprintf(date, sizeof date, "%04d-%02d-%02d", start.year, start.month, start.day);
  std::snprintf(span, sizeof span, "%02d:%02d\u2013%02d:%02d", start.hour, start.minute, end.hour,
                end.minute);
  const double factor = unitFactor(unitSelection);
  const bool miles = unitSelection == 1;
  return {date, span, std::to_string(drive.clips.size()),
          printed(miles ? "%.2f mi" : "%.2f km", drive.distanceMetres / 1000 * factor),
          printed(miles ? "%.1f mph" : "%.1f km/h", drive.maxKmh * factor)};
}

std::string driveRouteText(const Drive& drive, const std::vector<ClipRecord>& clips) {
  std::string text;
  for (const DriveClip& driveClip : drive.clips) {
    const std::vector<ClipPoint>& points = clips[driveClip.clip].points;
    if (points.empty()) continue;
    if (!text.empty()) text += ';';
    for (size_t i = 0; i < points.size(); ++i) {
      if (i) text += ' ';
      text += formatDegrees(points[i].latitude) + "," + formatDegrees(points[i].longitude);
    }
  }
  return text;
}

std::vector<ChartLane> driveChartLanes(const Drive& drive, const std::vector<ClipRecord>& clips,
                                       int unitSelection, int language) {
  const bool miles = unitSelection == 1;
  ChartLane speed{libraryText(language, LibraryText::Speed),
                  miles ? "mph" : "km/h",
                  wxColour(21, 101, 192),
                  true,
                  {},
                  {}};
  ChartLane altitude{libraryText(language, LibraryText::Altitude),
                     miles ? "ft" : "m",
                     wxColour(46, 125, 50),
                     false,
                     {},
                     {}};
  ChartLane force{
      libraryText(language, LibraryText::GForce), "g", wxColour(239, 108, 0), true, {}, {}};
  bool hasAltitude = false, hasForce = false;
  const double factor = unitFactor(unitSelection);
  for (const DriveClip& driveClip : drive.clips) {
    const double start = seconds(driveClip.time.startMs - drive.startMs);
    for (const ClipPoint& p : clips[driveClip.clip].points) {
      const double t = start + seconds(p.offsetMs);
      hasAltitude = hasAltitude || p.has(kPointAltitude);
      hasForce = hasForce || p.has(kPointGsensor);
      speed.times.push_back(t);
      speed.values.push_back(p.speedKmh * factor);
      altitude.times.push_back(t);
      altitude.values.push_back(p.has(kPointAltitude) ? p.altitude * (miles ? kFeetPerMetre : 1)
                                                      : kNoValue);
      force.times.push_back(t);
      force.values.push_back(
          p.has(kPointGsensor) ? std::hypot(p.gsensor[0], p.gsensor[1], p.gsensor[2]) : kNoValue);
    }
    // The line breaks between clips.
    for (ChartLane* lane : {&speed, &altitude, &force}) {
      lane->times.push_back(start);
      lane->values.push_back(kNoValue);
    }
  }
  std::vector<ChartLane> lanes;
  if (drive.points == 0) return lanes;
  lanes.push_back(std::move(speed));
  if (hasAltitude) lanes.push_back(std::move(altitude));
  if (hasForce) lanes.push_back(std::move(force));
  return lanes;
}

DriveNeighbours driveNeighbours(const Drive& drive, const std::vector<ClipRecord>& clips,
                                size_t position) {
  DriveNeighbours neighbours;
  for (size_t k = 0; k < drive.clips.size(); ++k) {
    if (k == position) continue;
    std::vector<MapPoint>& side = k < position ? neighbours.before : neighbours.after;
    for (const ClipPoint& p : clips[drive.clips[k].clip].points) side.push_back(mapPointOf(p));
  }
  return neighbours;
}

std::optional<DriveMoment> nearestDriveMoment(const Drive& drive,
                                              const std::vector<ClipRecord>& clips, double latitude,
                                              double longitude, double radiusMetres) {
  std::optional<DriveMoment> best;
  double bestDistance = radiusMetres;
  for (const DriveClip& driveClip : drive.clips) {
    const ClipRecord& clip = clips[driveClip.clip];
    for (const PlacePass& pass : passesNear(clip.points, latitude, longitude, radiusMetres)) {
      if (pass.distanceMetres <= bestDistance) {
        bestDistance = pass.distanceMetres;
        best = DriveMoment{clip.key.path, pass.offsetMs};
      }
    }
  }
  return best;
}

std::optional<double> driveSecondsOf(const Drive& drive, const std::vector<ClipRecord>& clips,
                                     const std::string& path, int64_t offsetMs) {
  for (const DriveClip& driveClip : drive.clips) {
    if (clips[driveClip.clip].key.path == path) {
      return seconds(driveClip.time.startMs - drive.startMs + offsetMs);
    }
  }
  return std::nullopt;
}

}  // namespace vantrel
