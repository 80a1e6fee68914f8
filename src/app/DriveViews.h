#pragma once
// What the window shows of a drive, made from the library's records: the
// row of the drives panel, the route text the map page draws, the chart's
// lanes, the route points around a clip for the maps, and the moment of a
// drive nearest a point clicked on its route.
#include <optional>
#include <string>
#include <vector>

#include "app/DriveLibrary.h"
#include "gps/DashboardRoute.h"
#include "widgets/DriveChart.h"

namespace vantrel {

struct DriveRow {
  std::string date;      // "2024-05-01", local time
  std::string span;      // "07:30–07:48", local time
  std::string clips;     // "9"
  std::string distance;  // "14.27 km" or "8.87 mi"
  std::string maxSpeed;  // "96.4 km/h" or "59.9 mph"
};

// unitSelection: the speed-unit box (0 km/h, 1 mph).
DriveRow driveRow(const Drive& drive, int unitSelection);

// "lat,lon lat,lon;lat,lon ...": the drive's clips, ';' between them.
std::string driveRouteText(const Drive& drive, const std::vector<ClipRecord>& clips);

// Speed, and altitude and g-force when any clip of the drive has them, over
// the seconds from the drive's start; the lines break between clips. Titled
// in language (a language box index).
std::vector<ChartLane> driveChartLanes(const Drive& drive, const std::vector<ClipRecord>& clips,
                                       int unitSelection, int language);

// The map points of the drive's clips before and after position.
struct DriveNeighbours {
  std::vector<MapPoint> before;
  std::vector<MapPoint> after;
};
DriveNeighbours driveNeighbours(const Drive& drive, const std::vector<ClipRecord>& clips,
                                size_t position);

// The moment of the drive whose track passes nearest the point, within
// radiusMetres; nullopt when none does.
std::optional<DriveMoment> nearestDriveMoment(const Drive& drive,
                                              const std::vector<ClipRecord>& clips, double latitude,
                                              double longitude, double radiusMetres);

// The moment's place on the chart: seconds from the drive's start.
std::optional<double> driveSecondsOf(const Drive& drive, const std::vector<ClipRecord>& clips,
                                     const std::string& path, int64_t offsetMs);

}  // namespace vantrel
