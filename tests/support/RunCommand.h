#pragma once
// Runs a shell command and takes what it prints: tests read our files back
// with independent programs (gpsbabel, python3).
#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <string>

namespace testsupport {

struct CommandOutput {
  int status = -1;  // the exit status, -1 when it did not exit normally
  std::string out;  // its stdout
};

inline CommandOutput runCommand(const std::string& command) {
  CommandOutput result;
  std::FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return result;
  std::array<char, 4096> buffer;
  size_t n = 0;
  while ((n = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0)
    result.out.append(buffer.data(), n);
  const int status = pclose(pipe);
  result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return result;
}

// 'text' quoted for the shell.
inline std::string shellQuoted(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

}  // namespace testsupport
