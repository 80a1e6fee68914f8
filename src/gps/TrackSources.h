#pragma once
// The table of track sources, in the order they are tried.
#include <span>

#include "gps/TrackSource.h"

namespace vantrel {

std::span<const TrackSource* const> trackSources();

}  // namespace vantrel
