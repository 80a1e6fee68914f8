#pragma once
#include <string>

namespace vantrel {
// The folder that holds res/, with a trailing '/': beside the executable, else
// the build tree's.
std::string GetModuleDir();
// The user's home folder with a trailing '/', or "" when there is none (the
// language file is then looked for in the current directory).
std::string GetUserDir();
}  // namespace vantrel
