#include "app/Settings.h"

#include <wx/fileconf.h>
#include <wx/log.h>
#include <wx/sstream.h>

#include <charconv>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <sstream>

#include "engine/PlaybackSpeeds.h"

namespace vantrel {

namespace fs = std::filesystem;

namespace {

// Where each setting lives in the file.
constexpr const char* kTiles = "/map/tiles";
constexpr const char* kTilesKey = "/map/key";
constexpr const char* kLastFolder = "/player/last_folder";
constexpr const char* kVolume = "/player/volume";
constexpr const char* kSpeedUnit = "/player/speed_unit";
constexpr const char* kPlaybackSpeed = "/player/playback_speed";
constexpr const char* kSpeedUnitNames[] = {"kmh", "mph"};

std::string trim(const std::string& text) {
  const size_t first = text.find_first_not_of(" \t\r");
  if (first == std::string::npos) return "";
  return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

// Blank, a comment, a [group] or a key=value: what an INI file holds.
bool isSettingsLine(const std::string& raw) {
  const std::string line = trim(raw);
  if (line.empty() || line[0] == ';' || line[0] == '#') return true;
  if (line[0] == '[') return line.back() == ']' && line.size() > 2;
  const size_t equals = line.find('=');
  return equals != std::string::npos && equals > 0;
}

bool isSettingsText(const std::string& text) {
  if (text.find('\0') != std::string::npos) return false;
  if (!text.empty() && wxString::FromUTF8(text).empty()) return false;  // not UTF-8
  std::istringstream lines(text);
  for (std::string line; std::getline(lines, line);) {
    if (!isSettingsLine(line)) return false;
  }
  return true;
}

std::optional<std::string> readText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

std::unique_ptr<wxFileConfig> configFromText(const std::string& text) {
  wxStringInputStream stream(wxString::FromUTF8(text));
  return std::make_unique<wxFileConfig>(stream, wxConvUTF8);
}

std::string readString(wxFileConfig& config, const char* key, const std::string& fallback) {
  wxString value;
  return config.Read(key, &value) ? value.utf8_string() : fallback;
}

// Reads key as a number; a value that is not one, or is outside
// [low, high], leaves value as it is and is named in ignored.
template <typename Number>
void readNumber(wxFileConfig& config, const char* key, Number low, Number high, Number& value,
                std::vector<std::string>& ignored) {
  wxString text;
  if (!config.Read(key, &text)) return;
  const std::string digits = trim(text.utf8_string());
  Number number{};
  const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), number);
  if (error == std::errc() && end == digits.data() + digits.size() && number >= low &&
      number <= high) {
    value = number;
  } else {
    ignored.push_back(std::string(key + 1) + "=" + digits);
  }
}

std::string describe(const std::vector<std::string>& ignored) {
  std::string text;
  for (const std::string& entry : ignored) text += (text.empty() ? "" : ", ") + entry;
  return text;
}

std::string numberText(double value) {
  char buffer[32];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  return std::string(buffer, result.ptr);
}

Settings readSettings(wxFileConfig& config, std::vector<std::string>& ignored) {
  Settings s;
  s.tiles = readString(config, kTiles, s.tiles);
  s.tilesKey = readString(config, kTilesKey, s.tilesKey);
  s.lastFolder = readString(config, kLastFolder, s.lastFolder);
  readNumber(config, kVolume, 0, 128, s.volume, ignored);
  double speed = s.playbackSpeed;
  readNumber(config, kPlaybackSpeed, kPlaybackSpeeds.front(), kPlaybackSpeeds.back(), speed,
             ignored);
  if (isPlaybackSpeed(speed)) {
    s.playbackSpeed = speed;
  } else {
    ignored.push_back(std::string(kPlaybackSpeed + 1) + "=" + numberText(speed));
  }
  const std::string unit = readString(config, kSpeedUnit, kSpeedUnitNames[s.speedUnit]);
  if (unit == kSpeedUnitNames[0] || unit == kSpeedUnitNames[1]) {
    s.speedUnit = unit == kSpeedUnitNames[1] ? 1 : 0;
  } else {
    ignored.push_back(std::string(kSpeedUnit + 1) + "=" + unit);
  }
  return s;
}

}  // namespace

std::string settingsFilePath(const std::string& configHome, const std::string& userDir) {
  // Only an absolute $XDG_CONFIG_HOME counts.
  if (!configHome.empty() && configHome[0] == '/') return configHome + "/vantrel/settings.ini";
  if (!userDir.empty()) return userDir + ".config/vantrel/settings.ini";
  return "";
}

LoadedSettings loadSettings(const std::string& path) {
  LoadedSettings loaded;
  const std::optional<std::string> text = readText(path);
  if (!text) return loaded;  // none yet: the defaults
  wxLogNull quiet;           // wxFileConfig's own complaints would open dialogs
  if (!isSettingsText(*text)) {
    std::error_code error;
    fs::rename(path, path + ".damaged", error);
    loaded.note = "The settings file " + path + " is damaged and was ignored" +
                  (error ? "" : " (kept as " + path + ".damaged)");
    return loaded;
  }
  std::vector<std::string> ignored;
  loaded.settings = readSettings(*configFromText(*text), ignored);
  if (!ignored.empty()) loaded.note = "Settings ignored in " + path + ": " + describe(ignored);
  return loaded;
}

bool saveSettings(const std::string& path, const Settings& settings) {
  if (path.empty()) return false;
  wxLogNull quiet;
  // Entries this version does not know are kept as they are.
  const std::optional<std::string> old = readText(path);
  auto config = configFromText(old && isSettingsText(*old) ? *old : "");
  config->Write(kTiles, wxString::FromUTF8(settings.tiles));
  config->Write(kTilesKey, wxString::FromUTF8(settings.tilesKey));
  config->Write(kLastFolder, wxString::FromUTF8(settings.lastFolder));
  config->Write(kVolume, settings.volume);
  config->Write(kSpeedUnit, kSpeedUnitNames[settings.speedUnit == 1 ? 1 : 0]);
  config->Write(kPlaybackSpeed, wxString(numberText(settings.playbackSpeed)));
  wxStringOutputStream out;
  if (!config->Save(out, wxConvUTF8)) return false;

  std::error_code error;
  fs::create_directories(fs::path(path).parent_path(), error);
  const std::string temporary = path + ".new";
  {
    std::ofstream file(temporary, std::ios::binary | std::ios::trunc);
    file << out.GetString().utf8_string();
    if (!file.flush()) return false;
  }
  fs::rename(temporary, path, error);
  if (!error) return true;
  std::error_code ignored;
  fs::remove(temporary, ignored);
  return false;
}

}  // namespace vantrel
