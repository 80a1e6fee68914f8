#pragma once
// The sentence layout in a text file beside the recording, one sentence per
// line, ending at the first empty line: for any recording but a MOV file,
// the file named like it with "TXT" as its last three characters.
#include <cstddef>
#include <cstdio>
#include <string>

#include "gps/TrackSource.h"

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

// One entry per line (cut to kMaxSentenceLength) until the first empty line
// or the end of the file.
const StreamTrackSource& sidecarTrackSource();

}  // namespace vantrel
