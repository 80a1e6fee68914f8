#pragma once
// Names of saved clips: "<recording name>_<in>-<out>.<ext>", for example
// FILE0042_1m05s-1m35s.MOV, and "_2", "_3", ... before the extension when
// that name is taken. Files are made new, never overwritten.
#include <string>

namespace vantrel {

// Whole seconds as "1m05s", or "1h02m05s" from an hour on.
std::string spanText(double seconds);

// "<recording's name without its extension>_<in>-<out>".
std::string clipBaseName(const std::string& recording, double start, double end);

// base + ext for number 1, base + "_<number>" + ext after it.
std::string numberedName(const std::string& base, int number, const std::string& ext);

// Makes path as a new, empty file; false when it exists or cannot be made,
// with why (strerror) and exists telling the two apart.
bool createNewFile(const std::string& path, bool* exists, std::string* why);

}  // namespace vantrel
