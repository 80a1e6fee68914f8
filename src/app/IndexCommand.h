#pragma once
// `vantrel --index FOLDER`: scans the folder into the library index (or
// reuses it) without a window and prints its drives:
//   drive <n> start=<UTC ISO 8601> end=<...> clips=<k> distance_km=<..> max_kmh=<..>
//   clips=<recordings> indexed=<read afresh> seconds=<scan time, %.2f>
// Clips that cannot be read are named on stderr. Exit status 0, or 1 when
// the folder cannot be read (2 for a wrong command line).
#include <cstdio>
#include <string>

namespace vantrel {

int printFolderIndex(const std::string& folder, const std::string& indexPath, std::FILE* out,
                     std::FILE* err);

// The command-line mode: arguments after "--index".
int runIndexCommand(int argc, char** argv);

}  // namespace vantrel
