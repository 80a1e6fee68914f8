#pragma once
#include <string>
#include <vector>

namespace vantrel {
// The folder that holds res/, with a trailing '/': the first of
// moduleDirCandidates that has a res/ folder, else the build tree's.
std::string GetModuleDir();
// Where res/ may be for an executable in exeDir, in order: beside it (the
// build tree), ../share/vantrel beside it (an install tree wherever it was
// unpacked), then installDir (the configured install prefix's).
std::vector<std::string> moduleDirCandidates(const std::string& exeDir,
                                             const std::string& installDir);
// The user's home folder with a trailing '/', or "" when there is none (the
// language file is then looked for in the current directory).
std::string GetUserDir();
}  // namespace vantrel
