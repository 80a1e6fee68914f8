#pragma once
// The check both track loaders make before opening a file.
#include <string>

namespace vantrel {

// True for a regular file. Anything else (missing, a folder, a FIFO that would
// block the playback thread in its open) is false, with reason, when given,
// set to "cannot open '<path>': <why>".
bool isRegularTrackFile(const std::string& path, std::string* reason);

}  // namespace vantrel
