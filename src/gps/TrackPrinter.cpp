#include "gps/TrackPrinter.h"

#include <cstdlib>
#include <vector>

#include "engine/PlayerState.h"
#include "gps/Coordinates.h"
#include "gps/GpsFields.h"
#include "gps/GpsReadout.h"
#include "gps/TrackLoader.h"

namespace vantrel {

namespace {

// The map's text of one coordinate, as the dashboard forms it.
std::string mapCoordinate(const char* magnitude, const char* hemisphere) {
  return formatCoordinate(nmeaToDegrees(std::atof(magnitude)), hemisphere[0]);
}

}  // namespace

std::string formatTrackEntry(size_t index, const std::string& sentence) {
  std::string line = std::to_string(index);
  GpsFields fields;
  if (splitGpsSentence(sentence, fields) != 0) return line.append("\trejected");

  GpsReadout readout = readGpsReadout(fields);
  char speed[64];  // "%.2f" of the largest float takes 42 characters
  std::snprintf(speed, sizeof speed, "%.2f", static_cast<double>(readout.speed));
  bool onMap = isValidForMap(fields);
  const std::string columns[] = {
      "ok",
      readout.time,
      readout.latitude,
      readout.longitude,
      speed,
      onMap ? mapCoordinate(fields[3], fields[4]) : "-",
      onMap ? mapCoordinate(fields[5], fields[6]) : "-",
  };
  for (const std::string& column : columns) line.append("\t").append(column);
  return line;
}

int printTrack(const std::string& recording, std::FILE* out, std::FILE* err) {
  PlayerState state;
  if (!loadTrackForPrinting(recording, state, err)) return 1;
  std::vector<std::string> entries = state.gpsTrack.snapshot();
  std::fprintf(out, "source=%s stream=%d entries=%zu\n", state.gpsFromMovie ? "movie" : "sidecar",
               state.gpsStreamIndex.load(), entries.size());
  for (size_t i = 0; i < entries.size(); ++i) {
    std::fprintf(out, "%s\n", formatTrackEntry(i, entries[i]).c_str());
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
