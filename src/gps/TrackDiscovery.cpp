#include "gps/TrackDiscovery.h"

#include <algorithm>

#include "gps/SidecarTrack.h"
#include "gps/TrackSources.h"

namespace vantrel {

namespace {

constexpr const char* kSidecarExtensions[] = {".TXT", ".txt", ".NMEA", ".nmea",
                                              ".LOG", ".log", ".GPX",  ".gpx"};

// path without its extension: "/a/clip.mp4" -> "/a/clip"; a dot in a folder
// name or at the start of the name is no extension.
std::string stem(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  const size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
  const size_t dot = path.find_last_of('.');
  if (dot == std::string::npos || dot <= nameStart) return path;
  return path.substr(0, dot);
}

void addOnce(std::vector<std::string>& files, std::string file) {
  if (!file.empty() && std::find(files.begin(), files.end(), file) == files.end()) {
    files.push_back(std::move(file));
  }
}

}  // namespace

std::vector<std::string> sidecarCandidates(const std::string& recording) {
  std::vector<std::string> files;
  addOnce(files, sidecarPath(recording));
  const std::string name = stem(recording);
  for (const char* extension : kSidecarExtensions) addOnce(files, name + extension);
  return files;
}

std::vector<TrackCandidate> trackCandidates(const std::string& recording) {
  std::vector<TrackCandidate> candidates{{recording, TrackPlace::Recording}};
  for (std::string& file : sidecarCandidates(recording)) {
    candidates.push_back({std::move(file), TrackPlace::Sidecar});
  }
  for (const TrackSource* source : trackSources()) {
    if (source->place() != TrackPlace::FolderLog) continue;
    for (std::string& file : source->folderLogs(recording)) {
      candidates.push_back({std::move(file), TrackPlace::FolderLog});
    }
  }
  return candidates;
}

}  // namespace vantrel
