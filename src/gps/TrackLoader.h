#pragma once
// Loads the GPS track of the recording being played, once per playback,
// right after playerStateInit and before the recording is opened for playing.
#include <cstdio>
#include <string>
#include <string_view>

#include "engine/PlayerState.h"

namespace vantrel {

// A name ending in exactly ".mov" or ".MOV" (no other mix of cases).
bool isMovieName(std::string_view name);

// Sets gpsFromMovie and fills state.gpsTrack from the MOV file's text stream
// or, for any other name, from the sidecar TXT file. The result is the
// loader's: 0 after reading (even if nothing was found), -1 when the MOV file
// cannot be opened or probed or the sidecar cannot be opened; reason, when
// given, then says why.
int loadGpsTrack(PlayerState& state, std::string* reason = nullptr);
// For the printers: loads recording's track into state as a playback would;
// on failure writes "vantrel: <reason>" to err and returns false.
bool loadTrackForPrinting(const std::string& recording, PlayerState& state, std::FILE* err);

}  // namespace vantrel
