#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <fstream>
#include <sstream>

#include "app/CommandLine.h"
#include "app/KeyTable.h"
#include "app/TempFolder.h"

using namespace vantrel;

namespace {

int runNothing(int, char**) {
  return 0;
}

const CommandLineOption kTable[] = {
    {"--autoplay", "", "start playing", nullptr, &WindowStart::autoplay},
    {"--mode", "FILE", "a mode without a window", runNothing},
};

struct WindowCase {
  std::vector<const char*> args;  // after the program name
  bool ok;
  std::string path;
  bool autoplay;
  std::string error;
};

std::string readFile(const std::filesystem::path& path) {
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

std::string helpText(std::span<const CommandLineOption> table) {
  char* buffer = nullptr;
  size_t size = 0;
  std::FILE* out = open_memstream(&buffer, &size);
  printHelp(table, out);
  std::fclose(out);
  std::string text(buffer, size);
  std::free(buffer);
  return text;
}

}  // namespace

TEST(CommandLine, WindowArgumentsTakeTheSwitchesAndOnePath) {
  const WindowCase cases[] = {
      {{}, true, "", false, ""},
      {{"drive"}, true, "drive", false, ""},
      {{"--autoplay", "drive"}, true, "drive", true, ""},
      {{"drive", "--autoplay"}, true, "drive", true, ""},
      {{"--", "-odd name"}, true, "-odd name", false, ""},
      {{"-"}, true, "-", false, ""},  // a lone dash is a name
      {{"--bogus"}, false, "", false, "unknown option '--bogus'"},
      {{"-x", "drive"}, false, "", false, "unknown option '-x'"},
      {{"a", "b"}, false, "", false, "more than one FOLDER or FILE: 'b'"},
      {{"drive", "--mode"}, false, "", false, "'--mode' must be the first argument"},
  };
  for (const WindowCase& c : cases) {
    std::vector<const char*> argv = {"vantrel"};
    argv.insert(argv.end(), c.args.begin(), c.args.end());
    const WindowArguments parsed =
        parseWindowArguments(kTable, static_cast<int>(argv.size()), argv.data());
    const std::string label = argv.size() > 1 ? argv[1] : "(none)";
    ASSERT_EQ(parsed.start.has_value(), c.ok) << label;
    if (c.ok) {
      EXPECT_EQ(parsed.start->path, c.path) << label;
      EXPECT_EQ(parsed.start->autoplay, c.autoplay) << label;
    } else {
      EXPECT_EQ(parsed.error, c.error) << label;
    }
  }
}

TEST(CommandLine, HelpListsEveryOptionAndEveryKey) {
  const std::string help = helpText(kTable);
  EXPECT_NE(help.find("  --autoplay   start playing\n"), std::string::npos) << help;
  EXPECT_NE(help.find("  --mode FILE  a mode without a window\n"), std::string::npos) << help;
  // The window's options come before the modes.
  EXPECT_LT(help.find("--autoplay"), help.find("--mode"));
  ASSERT_FALSE(windowKeys().empty());
  for (const KeyHelp& key : windowKeys()) {
    EXPECT_NE(help.find(key.key), std::string::npos) << key.key;
    EXPECT_NE(help.find(key.action), std::string::npos) << key.action;
  }
}

// The installed program's own table, run as a user would, without a display.
TEST(CommandLine, ProgramAnswersWithoutADisplay) {
  struct Case {
    std::string args;
    int status;
    std::string out, err;  // texts that must appear
  };
  const Case cases[] = {
      {"--version", 0, "vantrel " VANTREL_VERSION "\n", ""},
      {"--help", 0, "--dashboard FILE [--mph]", ""},
      {"--help", 0, "Escape", ""},
      {"--frobnicate", 2, "", "unknown option '--frobnicate'"},
      {"one two", 2, "", "more than one FOLDER or FILE"},
  };
  testsupport::TempFolder folder;
  for (const Case& c : cases) {
    const auto out = folder.path() / "out", err = folder.path() / "err";
    const std::string command = "env -u DISPLAY -u WAYLAND_DISPLAY " +
                                std::string(VANTREL_BINARY_DIR) + "/vantrel " + c.args + " >" +
                                out.string() + " 2>" + err.string();
    const int status = std::system(command.c_str());
    ASSERT_TRUE(WIFEXITED(status)) << c.args;
    EXPECT_EQ(WEXITSTATUS(status), c.status) << c.args;
    EXPECT_NE(readFile(out).find(c.out), std::string::npos) << c.args << ": " << readFile(out);
    EXPECT_NE(readFile(err).find(c.err), std::string::npos) << c.args << ": " << readFile(err);
  }
}
