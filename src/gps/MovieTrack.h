#pragma once
// The GPS track inside a MOV file: the samples of its first text (subtitle)
// stream, each a 2-byte length prefix followed by one sentence.
#include <string>

#include "engine/PlayerState.h"

namespace vantrel {

// Opens state.getFileName() in state.formatContext, publishes one sentence
// per text sample as state.gpsTrack and closes the file again (the slot is
// left empty). gpsStreamIndex becomes the text stream's index. Only `quit`
// cuts the scan short. 0 when read (even without a text stream), -1 when the
// file cannot be opened or probed; reason, when given, then says why.
int loadMovieTrack(PlayerState& state, std::string* reason = nullptr);

}  // namespace vantrel
