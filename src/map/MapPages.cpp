#include "map/MapPages.h"

namespace vantrel {

namespace {

int hexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

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

std::string percentDecode(std::string_view text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    const int high = i + 2 < text.size() && text[i] == '%' ? hexValue(text[i + 1]) : -1;
    const int low = high >= 0 ? hexValue(text[i + 2]) : -1;
    if (low >= 0) {
      out += static_cast<char>(high * 16 + low);
      i += 2;
    } else {
      out += text[i];
    }
  }
  return out;
}

std::string mapPageUrl(const std::string& moduleDir, const char* page, const TileSource& tiles) {
  std::string url = "file://" + percentEncode(moduleDir + "res/" + page, "/") +
                    "?tiles=" + percentEncode(tiles.url.empty() ? "none" : tiles.url, "");
  auto add = [&url](const char* name, const std::string& value) {
    if (!value.empty()) url += std::string("&") + name + "=" + percentEncode(value, "");
  };
  add("key", tiles.key);
  add("attribution", tiles.attribution);
  if (tiles.minNativeZoom >= 0) add("minzoom", std::to_string(tiles.minNativeZoom));
  if (tiles.maxNativeZoom >= 0) add("maxzoom", std::to_string(tiles.maxNativeZoom));
  return url;
}

}  // namespace vantrel
