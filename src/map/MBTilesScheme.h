#pragma once
// The browser's "vantrel-mbtiles" scheme: tiles of MBTiles files for the
// map pages, addressed as
//   vantrel-mbtiles://tiles/<zoom>/<x>/<y>?file=<percent-encoded path>
// A tile the file lacks comes back as a transparent image (the map shows
// its background there); a file that cannot be read fails the request.
#include <optional>
#include <string>

namespace vantrel {

constexpr const char* kMBTilesScheme = "vantrel-mbtiles";

struct MBTilesRequest {
  std::string path;
  int zoom = 0, x = 0, y = 0;
};

// The parts of a scheme address, or nothing when it is not one.
std::optional<MBTilesRequest> parseMBTilesUri(const std::string& uri);

// Registers the scheme with the web engine of nativeView (a WebKitWebView);
// once per process, later calls do nothing.
void registerMBTilesScheme(void* nativeView);

}  // namespace vantrel
