#include "app/CommandLine.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "app/KeyTable.h"

namespace vantrel {

namespace {

bool isOption(const char* arg) {
  return arg[0] == '-' && arg[1] != '\0';
}

struct HelpRow {
  std::string left;
  std::string text;
};

size_t leftWidth(const std::vector<HelpRow>& rows) {
  size_t width = 0;
  for (const HelpRow& row : rows) width = std::max(width, row.left.size());
  return width;
}

// Prints "  left  text" rows with the texts lined up at width.
void printRows(const std::vector<HelpRow>& rows, size_t width, std::FILE* out) {
  for (const HelpRow& row : rows) {
    std::fprintf(out, "  %-*s  %s\n", static_cast<int>(width), row.left.c_str(), row.text.c_str());
  }
}

std::vector<HelpRow> optionRows(std::span<const CommandLineOption> table) {
  std::vector<HelpRow> rows;
  for (const CommandLineOption& option : table) {
    std::string left = option.name;
    if (*option.arguments) left += std::string(" ") + option.arguments;
    rows.push_back({left, option.help});
  }
  return rows;
}

std::vector<HelpRow> keyRows() {
  std::vector<HelpRow> rows;
  for (const KeyHelp& key : windowKeys()) rows.push_back({key.key, key.action});
  return rows;
}

}  // namespace

const CommandLineOption* findOption(std::span<const CommandLineOption> table, const char* arg) {
  for (const CommandLineOption& option : table) {
    if (std::strcmp(option.name, arg) == 0) return &option;
  }
  return nullptr;
}

WindowArguments parseWindowArguments(std::span<const CommandLineOption> table, int argc,
                                     const char* const* argv) {
  WindowStart start;
  bool havePath = false, optionsEnded = false;
  for (int i = 1; i < argc; ++i) {
    const char* arg = argv[i];
    if (!optionsEnded && std::strcmp(arg, "--") == 0) {  // what follows is a path, even "-x"
      optionsEnded = true;
      continue;
    }
    if (!optionsEnded && isOption(arg)) {
      const CommandLineOption* option = findOption(table, arg);
      if (!option) return {std::nullopt, std::string("unknown option '") + arg + "'"};
      if (!option->windowSwitch) {
        return {std::nullopt, std::string("'") + arg + "' must be the first argument"};
      }
      start.*(option->windowSwitch) = true;
      continue;
    }
    if (havePath) return {std::nullopt, std::string("more than one FOLDER or FILE: '") + arg + "'"};
    start.path = arg;
    havePath = true;
  }
  return {start, {}};
}

void printVersion(std::FILE* out) {
  std::fprintf(out, "vantrel %s\n", VANTREL_VERSION);
}

void printHelp(std::span<const CommandLineOption> table, std::FILE* out) {
  std::fprintf(out,
               "Usage: vantrel [--autoplay] [FOLDER|FILE]\n"
               "  or:  vantrel MODE ARGUMENTS...\n"
               "\n"
               "Plays dashcam recordings (AVI, MOV, MP4) with their GPS track: the picture\n"
               "and sound, speed and position readouts, a gauge and the route on a map.\n"
               "FOLDER lists its recordings; FILE is played at once.\n"
               "\nWindow options:\n");
  // One column for both kinds of option.
  const std::vector<HelpRow> rows = optionRows(table);
  const size_t width = leftWidth(rows);
  std::vector<HelpRow> window, modes;
  for (size_t i = 0; i < table.size(); ++i) (table[i].run ? modes : window).push_back(rows[i]);
  printRows(window, width, out);
  std::fprintf(out, "\nModes without a window:\n");
  printRows(modes, width, out);
  std::fprintf(out, "\nKeys in the window:\n");
  const std::vector<HelpRow> keys = keyRows();
  printRows(keys, leftWidth(keys), out);
  std::fprintf(out,
               "\nFiles:\n"
               "  $XDG_CONFIG_HOME/vantrel/settings.ini (else ~/.config/vantrel/settings.ini)\n"
               "      map tiles, last folder, volume, speed unit, playback speed\n"
               "  ~/res.language  the language\n"
               "  $XDG_CACHE_HOME/vantrel (else ~/.cache/vantrel)  map tiles, library.sqlite\n"
               "\nEnvironment:\n"
               "  VANTREL_MAP_TILES  the maps' tiles: a URL template with {z}, {x} and {y},\n"
               "                     an MBTiles file, or none (before the settings' tiles)\n");
  std::fprintf(out,
               "\nExit status: 0 on success, 1 when a mode fails, 2 for a wrong command line.\n"
               "Project page: %s\n",
               VANTREL_HOMEPAGE);
}

std::optional<int> runCommandLine(std::span<const CommandLineOption> table, int argc, char** argv) {
  if (argc > 1 && isOption(argv[1])) {
    const CommandLineOption* option = findOption(table, argv[1]);
    if (option && option->run) return option->run(argc - 2, argv + 2);
  }
  const WindowArguments window = parseWindowArguments(table, argc, argv);
  if (window.start) return std::nullopt;
  std::fprintf(stderr, "vantrel: %s\nTry 'vantrel --help' for more information.\n",
               window.error.c_str());
  return 2;
}

}  // namespace vantrel
