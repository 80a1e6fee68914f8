#pragma once
// Where the map pages are and how they are addressed. The pages take their
// tiles from a URL template: OpenStreetMap's unless VANTREL_MAP_TILES names
// another ("none" for no tiles: a plain background, as when offline).
#include <string>

namespace vantrel {

constexpr const char* kSmallMapPage = "Google-earth.html";
constexpr const char* kBigMapPage = "Google-earth-big.html";
constexpr const char* kMapTilesVariable = "VANTREL_MAP_TILES";

// file:// address of moduleDir + "res/" + page, the path percent-encoded;
// tiles, when not null, goes to the page as its tile template.
std::string mapPageUrl(const std::string& moduleDir, const char* page, const char* tiles);

// The same with the tiles from VANTREL_MAP_TILES, if set.
std::string mapPageUrl(const std::string& moduleDir, const char* page);

}  // namespace vantrel
