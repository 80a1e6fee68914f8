#include "app/KeyTable.h"

#include <string>
#include <vector>

#include "app/Commands.h"

namespace vantrel {

namespace {

struct KeyLine {
  std::string keys;
  std::string action;
};

// One line per command with keys; a command without help text joins the
// line before it ("Up / Down").
std::vector<KeyLine> keyLines() {
  std::vector<KeyLine> lines;
  for (const CommandSpec& spec : commandTable()) {
    std::string keys;
    for (const KeyBinding& binding : spec.keys) {
      if (binding.key == 0) continue;
      keys += (keys.empty() ? "" : ", ") + keyLabel(binding);
    }
    if (keys.empty()) continue;
    if (!spec.help && !lines.empty()) {
      lines.back().keys += " / " + keys;
    } else {
      lines.push_back({keys, spec.help ? spec.help : ""});
    }
  }
  // The playlist's own key.
  lines.push_back({"Enter", "play the selected entry"});
  return lines;
}

}  // namespace

std::span<const KeyHelp> windowKeys() {
  static const std::vector<KeyLine> lines = keyLines();
  static const std::vector<KeyHelp> help = [] {
    std::vector<KeyHelp> rows;
    for (const KeyLine& line : lines) rows.push_back({line.keys.c_str(), line.action.c_str()});
    return rows;
  }();
  return help;
}

}  // namespace vantrel
