#pragma once
// A folder of dashcam clips made from the generated fixtures, named as a
// camera names them.
#include <filesystem>
#include <string>
#include <vector>

#include "app/TempFolder.h"

namespace testsupport {

inline std::filesystem::path fixture(const std::string& name) {
  return std::filesystem::path(VANTREL_FIXTURES) / name;
}

// Copies fixture files into folder under new names: {fixture, name} pairs.
inline void copyFixtures(const TempFolder& folder,
                         const std::vector<std::pair<std::string, std::string>>& files) {
  for (const auto& [from, to] : files) {
    std::filesystem::copy_file(fixture(from), folder.path() / to,
                               std::filesystem::copy_options::overwrite_existing);
  }
}

// Two clips with tracks ten seconds apart (a MOV with its text stream, an
// MP4 with its TXT), a clip without a track, and two files that are no
// recordings.
inline void makeDriveFolder(const TempFolder& folder) {
  copyFixtures(folder, {{"clip.MOV", "20240501_073005.MOV"},
                        {"clip.mp4", "20240501_073010.mp4"},
                        {"clip.TXT", "20240501_073010.TXT"},
                        {"notrack.MOV", "20240501_073020.MOV"},
                        {"play-garbage.mp4", "broken.mp4"},
                        {"bad-empty.mp4", "empty.mp4"}});
}

}  // namespace testsupport
