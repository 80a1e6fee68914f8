#pragma once
// `vantrel --cut FILE START END OUT`: saves a clip of FILE without a window,
// as Save Clip does. START and END are seconds ("75", "75.5") or
// [hh:]mm:ss[.fff]; OUT is the clip's file (never overwritten) or a folder,
// where the clip gets its usual name. A track file beside FILE is cut to the
// same span beside the clip. Prints what it wrote:
//   clip=<path> start=<s> end=<s> streams=<n>
//   track=<path>
// Exit status 0 when the clip was written, 1 with the reason on stderr, 2 for
// a wrong command line.
#include <optional>
#include <string_view>

namespace vantrel {

// "75", "75.5", "1:15", "00:01:15.5" as seconds; nothing for anything else.
std::optional<double> parseClipTime(std::string_view text);

// argv holds the arguments after "--cut".
int runCutCommand(int argc, char** argv);

}  // namespace vantrel
