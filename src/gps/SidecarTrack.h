#pragma once
// The GPS track of a recording that is not a MOV file: a text file beside it,
// one sentence per line, ending at the first empty line.
#include <cstddef>
#include <cstdio>
#include <string>
#include <vector>

#include "engine/PlayerState.h"

namespace vantrel {

// Characters a line keeps; the rest of a longer line is skipped.
constexpr size_t kMaxTrackLineLength = 1023;

// The recording's path with its last three characters replaced by "TXT"
// (clip.avi -> clip.TXT, x.jpeg -> x.jTXT); empty for a name shorter than that.
std::string sidecarPath(const std::string& recording);

// Reads one line into line, without its line feed: -1 when the file is already
// at its end, 1 for an empty line, 0 for a line with text. CR LF arrives as
// LF; a lone CR stays. The text ends at a zero byte or after
// kMaxTrackLineLength characters; either way the rest of the line is skipped.
int readTrackLine(std::FILE* file, std::string& line);

// Appends one sentence per line to entries until the first empty line or the
// end of the file. -1 when reading failed.
int readSidecarTrack(std::FILE* file, std::vector<std::string>& entries);

// Publishes the sidecar's sentences as state.gpsTrack; gpsStreamIndex becomes
// 255 when it gave at least one. 0 when read (even if empty), -1 when the
// sidecar cannot be opened or read; reason, when given, then says why.
int loadSidecarTrack(PlayerState& state, std::string* reason = nullptr);

}  // namespace vantrel
