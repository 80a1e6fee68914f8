#pragma once
// The playback speeds the player offers, slowest first; 1 is normal speed.
#include <algorithm>
#include <array>

namespace vantrel {

constexpr std::array<double, 8> kPlaybackSpeeds = {0.25, 0.5, 0.75, 1.0, 1.25, 1.5, 2.0, 4.0};

constexpr bool isPlaybackSpeed(double speed) {
  return std::find(kPlaybackSpeeds.begin(), kPlaybackSpeeds.end(), speed) != kPlaybackSpeeds.end();
}

}  // namespace vantrel
