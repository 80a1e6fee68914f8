#include "app/ExportCommand.h"

#include <filesystem>
#include <sstream>
#include <string_view>

#include "app/FolderLibrary.h"
#include "library/CivilTime.h"
#include "library/ClipReader.h"
#include "library/LibraryOpen.h"

extern "C" {
#include <libavutil/log.h>
}

namespace vantrel {

namespace fs = std::filesystem;

namespace {

// "drive-20240501-073005.gpx".
std::string driveFileName(const Drive& drive, ExportFormat format) {
  const CivilTime t = civilOfUtc(drive.startMs);
  char name[40];
  std::snprintf(name, sizeof name, "drive-%04d%02d%02d-%02d%02d%02d", t.year, t.month, t.day,
                t.hour, t.minute, t.second);
  return name + std::string(exportExtension(format));
}

int exportClip(const ExportRequest& request, std::FILE* out, std::FILE* err) {
  const ClipRecord clip = readClip(request.source);
  if (!clip.readable) {
    std::fprintf(err, "vantrel: cannot read '%s': %s\n", request.source.c_str(),
                 clip.reason.c_str());
    return 1;
  }
  const ExportTrack track = clipExportTrack(clip);
  if (track.segments.empty()) {
    std::fprintf(err, "vantrel: '%s' has no GPS track to export\n", request.source.c_str());
    return 1;
  }
  if (!request.output) {
    std::ostringstream text;
    writeExport(track, request.format, text);
    const std::string bytes = text.str();
    return std::fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size() ? 0 : 1;
  }
  std::string reason;
  if (writeExportFile(track, request.format, *request.output, reason)) return 0;
  std::fprintf(err, "vantrel: %s\n", reason.c_str());
  return 1;
}

int exportFolder(const ExportRequest& request, const std::string& indexPath, std::FILE* out,
                 std::FILE* err) {
  FolderLibrary library;
  std::string error;
  if (!scanFolderLibrary(request.source, indexPath, library, error)) {
    std::fprintf(err, "vantrel: %s\n", error.c_str());
    return 1;
  }
  reportUnreadable(library.scan.clips, err);
  const fs::path folder = request.output.value_or(".");
  std::error_code made;
  fs::create_directories(folder, made);
  size_t written = 0;
  bool failed = false;
  for (const Drive& drive : library.drives) {
    const ExportTrack track = driveExportTrack(drive, library.scan.clips);
    if (track.segments.empty()) continue;  // a drive without a track draws nothing
    const std::string path = (folder / driveFileName(drive, request.format)).string();
    std::string reason;
    if (writeExportFile(track, request.format, path, reason)) {
      std::fprintf(out, "%s points=%zu\n", path.c_str(), track.pointCount());
      ++written;
    } else {
      std::fprintf(err, "vantrel: %s\n", reason.c_str());
      failed = true;
    }
  }
  if (written == 0 && !failed) {
    std::fprintf(err, "vantrel: no drive in '%s' has a GPS track to export\n",
                 request.source.c_str());
  }
  return written > 0 && !failed ? 0 : 1;
}

}  // namespace

std::optional<ExportRequest> parseExportArguments(int argc, const char* const* argv,
                                                  std::string& error) {
  ExportRequest request;
  bool haveFormat = false;
  for (int i = 0; i < argc; ++i) {
    const std::string_view arg = argv[i];
    const bool takesValue = arg == "--to" || arg == "-o";
    if (takesValue && i + 1 >= argc) {
      error = std::string(arg) + " needs a value";
      return std::nullopt;
    }
    if (arg == "--to") {
      const std::optional<ExportFormat> format = exportFormatNamed(argv[++i]);
      if (!format) {
        error = std::string("unknown format '") + argv[i] + "' (gpx, kml, csv or geojson)";
        return std::nullopt;
      }
      request.format = *format;
      haveFormat = true;
    } else if (arg == "-o") {
      request.output = argv[++i];
    } else if (request.source.empty()) {
      request.source = arg;
    } else {
      error = "more than one FILE or FOLDER: '" + std::string(arg) + "'";
      return std::nullopt;
    }
  }
  if (request.source.empty() || !haveFormat) {
    error = "--export needs a FILE or FOLDER and --to gpx|kml|csv|geojson";
    return std::nullopt;
  }
  return request;
}

int runExport(const ExportRequest& request, const std::string& indexPath, std::FILE* out,
              std::FILE* err) {
  std::error_code error;
  if (fs::is_directory(request.source, error)) return exportFolder(request, indexPath, out, err);
  return exportClip(request, out, err);
}

int runExportCommand(int argc, char** argv) {
  std::string error;
  const std::optional<ExportRequest> request = parseExportArguments(argc, argv, error);
  if (!request) {
    std::fprintf(stderr, "vantrel: %s\nUsage: vantrel --export FILE|FOLDER --to FORMAT [-o OUT]\n",
                 error.c_str());
    return 2;
  }
  av_log_set_level(AV_LOG_QUIET);  // unreadable files are named with the reason
  return runExport(*request, libraryIndexPath(), stdout, stderr);
}

}  // namespace vantrel
