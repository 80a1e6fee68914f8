#pragma once
// `vantrel --export FILE|FOLDER --to gpx|kml|csv|geojson [-o OUT]`: the track
// of one recording (to OUT, or to stdout), or one file per drive of a folder
// (into the folder OUT, the current one without -o, named
// drive-<UTC start YYYYMMDD-HHMMSS>.<format>), without a window. Exit status
// 0, 1 when nothing could be exported or a file could not be written, 2 for
// a wrong command line.
#include <cstdio>
#include <optional>
#include <string>

#include "library/TrackExport.h"

namespace vantrel {

struct ExportRequest {
  std::string source;  // FILE or FOLDER
  ExportFormat format = ExportFormat::Gpx;
  std::optional<std::string> output;  // -o
};

// Reads the arguments after "--export"; nullopt with error when they are wrong.
std::optional<ExportRequest> parseExportArguments(int argc, const char* const* argv,
                                                  std::string& error);

int runExport(const ExportRequest& request, const std::string& indexPath, std::FILE* out,
              std::FILE* err);

// The command-line mode: arguments after "--export".
int runExportCommand(int argc, char** argv);

}  // namespace vantrel
