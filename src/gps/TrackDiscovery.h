#pragma once
// Where a recording's track may be: the recording itself, the files named
// like it beside it, then the logs of its folder, in the order they are tried.
#include <string>
#include <vector>

#include "gps/TrackSource.h"

namespace vantrel {

struct TrackCandidate {
  std::string file;
  TrackPlace place;
};

// Beside DIR/NAME.EXT: the file the sentence layout has always been read
// from (NAME.EXT with "TXT" for its last three characters), then NAME with
// .TXT .txt .NMEA .nmea .LOG .log .GPX .gpx; each file once.
std::vector<std::string> sidecarCandidates(const std::string& recording);

// Every candidate in the order it is tried; the folder logs are those the
// table's FolderLog sources list.
std::vector<TrackCandidate> trackCandidates(const std::string& recording);

}  // namespace vantrel
