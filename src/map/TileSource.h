#pragma once
// Where the maps take their tiles from: a tile server's URL template,
// OpenStreetMap's by default, an offline MBTiles file, or none. Chosen once
// at start from VANTREL_MAP_TILES, else the settings.
#include <string>

namespace vantrel {

constexpr const char* kMapTilesVariable = "VANTREL_MAP_TILES";
constexpr const char* kDefaultTiles = "https://tile.openstreetmap.org/{z}/{x}/{y}.png";
constexpr const char* kDefaultAttribution = "© OpenStreetMap contributors";

struct TileSource {
  std::string url;          // Leaflet's URL template; empty: no tiles
  std::string key;          // fills {key} in url
  std::string attribution;  // plain text
  int minNativeZoom = -1;   // -1: any; beyond these the map scales tiles
  int maxNativeZoom = -1;
};

struct TileChoice {
  TileSource source;
  std::string note;  // why the chosen tiles cannot be used, for the status line
};

// value: VANTREL_MAP_TILES when set (may be null), else the settings' tiles
// (settingsTiles) with settingsKey. "" gives OpenStreetMap, "none" no tiles,
// a text with "://" a URL template (which must hold {z}, {x} and {y}), and
// anything else the path of an MBTiles file, opened here to check it and
// read its attribution and zoom range.
TileChoice chooseTileSource(const char* environment, const std::string& settingsTiles,
                            const std::string& settingsKey);

// The URL template that serves the tiles of the MBTiles file at path through
// the browser's MBTiles scheme.
std::string mbtilesUrlTemplate(const std::string& path);

// The text of html without its tags and with &amp;, &lt;, &gt;, &quot; and
// &copy; decoded: MBTiles attributions often hold links, which would lead
// the map page away.
std::string plainText(const std::string& html);

}  // namespace vantrel
