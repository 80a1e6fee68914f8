#pragma once
// The command line: one table of options that main walks and --help prints.
// A new option is one row; a row without run belongs to the window.
#include <cstdio>
#include <optional>
#include <span>
#include <string>

namespace vantrel {

// What the window starts with.
struct WindowStart {
  std::string path;  // FOLDER or FILE; empty: an empty playlist
  bool autoplay = false;
};

struct CommandLineOption {
  const char* name;       // "--track"
  const char* arguments;  // what follows it, as --help shows it ("FILE"), or ""
  const char* help;       // one line for --help
  // A mode without a window: gets the arguments after the option, returns the
  // exit status. nullptr: a window option.
  int (*run)(int argc, char** argv);
  // A window option: the switch of WindowStart it sets.
  bool WindowStart::*windowSwitch = nullptr;
};

struct WindowArguments {
  std::optional<WindowStart> start;  // empty: a wrong command line
  std::string error;                 // why, when start is empty
};

// Reads the window's command line (argv[0] is the program): the window
// options of table and at most one FOLDER or FILE.
WindowArguments parseWindowArguments(std::span<const CommandLineOption> table, int argc,
                                     const char* const* argv);

// The option of table named arg, or nullptr.
const CommandLineOption* findOption(std::span<const CommandLineOption> table, const char* arg);

// --help: usage, the options of table, the keys of the window, the files and
// the environment.
void printHelp(std::span<const CommandLineOption> table, std::FILE* out);
// --version: "vantrel <version>".
void printVersion(std::FILE* out);

// main's dispatch: a mode of table runs, the window's arguments are checked
// (an error is printed and gives 2); std::nullopt means "open the window".
std::optional<int> runCommandLine(std::span<const CommandLineOption> table, int argc, char** argv);

}  // namespace vantrel
