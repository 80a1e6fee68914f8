#include "gps/TrackPrinter.h"

#include "gps/Coordinates.h"
#include "gps/GpsReadout.h"
#include "gps/TrackLoader.h"

namespace vantrel {

std::string formatTrackEntry(size_t index, const GpsFix& fix) {
  std::string line = std::to_string(index);
  if (!fix.has(kFixPosition)) return line.append("\trejected");

  GpsReadout readout = readGpsReadout(fix);
  char speed[64];  // "%.2f" of the largest float takes 42 characters
  std::snprintf(speed, sizeof speed, "%.2f", static_cast<double>(readout.speed));
  const bool onMap = fix.has(kFixOnMap);
  const std::string columns[] = {
      "ok",
      readout.time,
      readout.latitude,
      readout.longitude,
      speed,
      onMap ? formatDegrees(fix.latitude) : "-",
      onMap ? formatDegrees(fix.longitude) : "-",
  };
  for (const std::string& column : columns) line.append("\t").append(column);
  return line;
}

std::string trackHeader(const Track& track) {
  std::string header = std::string("source=") + track.source;
  if (track.timing == kTimingStep) {
    header += " stream=" + std::to_string(track.streamIndex);
  } else {
    header += " file=" + baseName(track.file);
  }
  header += " entries=" + std::to_string(track.fixes.size());
  if (track.unitFromCheck && track.recordedUnit != SpeedUnit::Kmh) {
    header += std::string(" speed_unit=") + speedUnitName(track.recordedUnit);
  }
  return header;
}

int printTrack(const std::string& recording, std::FILE* out, std::FILE* err) {
  TrackLoad load;
  if (!loadTrackForPrinting(recording, load, err)) return 1;
  const Track& track = load.track;
  std::fprintf(out, "%s\n", trackHeader(track).c_str());
  for (size_t i = 0; i < track.fixes.size(); ++i) {
    std::fprintf(out, "%s\n", formatTrackEntry(i, track.fixes[i]).c_str());
  }
  return 0;
}

int runTrackPrinter(int argc, char** argv) {
  if (argc != 1) {
    std::fprintf(stderr, "usage: vantrel --track FILE\n");
    return 1;
  }
  return printTrack(argv[0], stdout, stderr);
}

}  // namespace vantrel
