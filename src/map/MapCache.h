#pragma once
// The web engine's disk cache, where the map tiles stay between runs: under
// $XDG_CACHE_HOME/vantrel (~/.cache/vantrel without it). The engine keeps it
// within a size of its own choosing; above kMapCacheLimit it is emptied at
// start, before any map browser exists.
#include <cstdint>
#include <string>

namespace vantrel {

constexpr std::uintmax_t kMapCacheLimit = 256u << 20;

// The engine's cache folder for this program.
std::string mapCacheFolder();

// Empties folder when the files in it take more than limit bytes; returns
// whether it did. A folder that cannot be read is left alone.
bool limitMapCache(const std::string& folder, std::uintmax_t limit);

}  // namespace vantrel
