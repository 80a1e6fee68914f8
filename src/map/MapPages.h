#pragma once
// Where the map pages are and how they are addressed: a file:// address with
// the tiles the page is to show in its query.
#include <string>
#include <string_view>

#include "map/TileSource.h"

namespace vantrel {

constexpr const char* kSmallMapPage = "Google-earth.html";
constexpr const char* kBigMapPage = "Google-earth-big.html";

// file:// address of moduleDir + "res/" + page, the path percent-encoded,
// with the tile source as query parameters: tiles (the URL template, or
// "none"), key, attribution, minzoom and maxzoom (the last four only when
// set).
std::string mapPageUrl(const std::string& moduleDir, const char* page, const TileSource& tiles);

// Percent-encodes every byte but the unreserved characters and those in keep.
std::string percentEncode(std::string_view text, std::string_view keep);
// Decodes %XX escapes; a '%' not followed by two hex digits stays as it is.
std::string percentDecode(std::string_view text);

}  // namespace vantrel
