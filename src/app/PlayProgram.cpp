#include "app/PlayProgram.h"

#include <unistd.h>

#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

namespace vantrel {

void runPlayProgram(int argc, char** argv) {
  std::error_code error;
  const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error) return;
  const std::string program = (self.parent_path() / kPlayProgram).string();
  std::vector<char*> args{const_cast<char*>(program.c_str())};
  args.insert(args.end(), argv, argv + argc);
  args.push_back(nullptr);
  execv(program.c_str(), args.data());
}

}  // namespace vantrel
