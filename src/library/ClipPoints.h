#pragma once
// A clip's points as bytes for the index: fixed-size little-endian records
// behind a one-byte version, so a database file moves between machines.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "library/ClipRecord.h"

namespace vantrel {

std::string encodeClipPoints(const std::vector<ClipPoint>& points);
// nullopt when bytes are not such a blob (another version, a torn record).
std::optional<std::vector<ClipPoint>> decodeClipPoints(std::string_view bytes);

}  // namespace vantrel
