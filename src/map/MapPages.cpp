#include "map/MapPages.h"

#include <cstdlib>
#include <string_view>

namespace vantrel {

namespace {

// Percent-encodes every byte but the unreserved characters and those in keep.
std::string percentEncode(std::string_view text, std::string_view keep) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (unsigned char c : text) {
    const bool unreserved = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') ||
                            (c >= '0' && c <= '9') || c == '-' || c == '.' || c == '_' || c == '~';
    if (unreserved || keep.find(static_cast<char>(c)) != std::string_view::npos) {
      out += static_cast<char>(c);
    } else {
      out += '%';
      out += kHex[c >> 4];
      out += kHex[c & 0xF];
    }
  }
  return out;
}

}  // namespace

std::string mapPageUrl(const std::string& moduleDir, const char* page, const char* tiles) {
  std::string url = "file://" + percentEncode(moduleDir + "res/" + page, "/");
  if (tiles) url += "?tiles=" + percentEncode(tiles, "");
  return url;
}

std::string mapPageUrl(const std::string& moduleDir, const char* page) {
  return mapPageUrl(moduleDir, page, std::getenv(kMapTilesVariable));
}

}  // namespace vantrel
