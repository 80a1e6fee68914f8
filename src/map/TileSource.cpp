#include "map/TileSource.h"

#include <algorithm>
#include <cstring>
#include <iterator>

#include "map/MBTiles.h"
#include "map/MBTilesScheme.h"
#include "map/MapPages.h"

namespace vantrel {

namespace {

bool isUrlTemplate(const std::string& text) {
  return text.find("{z}") != std::string::npos && text.find("{x}") != std::string::npos &&
         (text.find("{y}") != std::string::npos || text.find("{-y}") != std::string::npos);
}

TileChoice mbtilesChoice(const std::string& path) {
  MBTiles file;
  const std::string error = file.open(path);
  if (!error.empty()) return {{}, "Cannot use the offline map " + path + ": " + error};
  TileSource source;
  source.url = mbtilesUrlTemplate(path);
  const MBTilesInfo& info = file.info();
  source.attribution = plainText(info.attribution.empty() ? info.name : info.attribution);
  source.minNativeZoom = info.minZoom;
  source.maxNativeZoom = info.maxZoom;
  return {source, ""};
}

}  // namespace

TileChoice chooseTileSource(const char* environment, const std::string& settingsTiles,
                            const std::string& settingsKey) {
  const std::string value = environment ? environment : settingsTiles;
  if (value.empty()) return {{kDefaultTiles, "", kDefaultAttribution}, ""};
  if (value == "none") return {};
  if (value.find("://") == std::string::npos) return mbtilesChoice(value);
  if (!isUrlTemplate(value)) {
    return {{}, "The tile server " + value + " is no URL template with {z}, {x} and {y}"};
  }
  // A server of one's own: its terms, its attribution (none known here).
  return {{value, environment ? "" : settingsKey, ""}, ""};
}

std::string mbtilesUrlTemplate(const std::string& path) {
  return std::string(kMBTilesScheme) + "://tiles/{z}/{x}/{y}?file=" + percentEncode(path, "/");
}

std::string plainText(const std::string& html) {
  static const std::pair<const char*, const char*> kEntities[] = {
      {"&amp;", "&"}, {"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}, {"&copy;", "©"}};
  std::string text;
  bool inTag = false;
  for (size_t i = 0; i < html.size(); ++i) {
    const char c = html[i];
    if (inTag) {
      inTag = c != '>';
    } else if (c == '<') {
      inTag = true;
    } else if (c == '&') {
      auto entity = std::find_if(std::begin(kEntities), std::end(kEntities), [&](const auto& e) {
        return html.compare(i, std::strlen(e.first), e.first) == 0;
      });
      if (entity != std::end(kEntities)) {
        text += entity->second;
        i += std::strlen(entity->first) - 1;
      } else {
        text += c;
      }
    } else {
      text += c;
    }
  }
  return text;
}

}  // namespace vantrel
