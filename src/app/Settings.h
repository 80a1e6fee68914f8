#pragma once
// The user's settings, kept in an INI file (wxFileConfig) under
// $XDG_CONFIG_HOME/vantrel/ (~/.config/vantrel/ without it). Read at start;
// each change is written at once. The language keeps its own file.
#include <string>
#include <vector>

namespace vantrel {

struct Settings {
  // Map tiles: a URL template ({z}/{x}/{y}, {s}, {key}), an MBTiles file, or
  // "none"; empty: OpenStreetMap's. key fills {key} in the template.
  std::string tiles;
  std::string tilesKey;
  std::string lastFolder;      // where Open File starts
  int volume = 80;             // 0..128
  int speedUnit = 0;           // the speed-unit box: 0 km/h, 1 mph
  double playbackSpeed = 1.0;  // one of kPlaybackSpeeds
};

struct LoadedSettings {
  Settings settings;
  // What was ignored and why, for the status line; empty when all was well.
  std::string note;
};

// The settings file for configHome ($XDG_CONFIG_HOME, maybe empty) and
// userDir (the home folder with '/', maybe empty); empty when neither gives
// a place.
std::string settingsFilePath(const std::string& configHome, const std::string& userDir);

// Reads path. A missing file gives the defaults without a note. A damaged
// file (not text, or a line that is neither a [group], a key=value, a
// comment nor blank) is renamed to path + ".damaged" and the defaults are
// used; a value out of its range keeps its default. Never fails.
LoadedSettings loadSettings(const std::string& path);

// Writes settings to path (its folder made when missing), replacing the
// file in one step. Returns false when it cannot be written.
bool saveSettings(const std::string& path, const Settings& settings);

}  // namespace vantrel
