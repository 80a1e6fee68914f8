// The command table itself: every key and button reaches one command, and
// the key help is made from it.
#include <gtest/gtest.h>
#include <wx/defs.h>

#include <set>

#include "app/Commands.h"
#include "app/ControlTable.h"
#include "app/KeyTable.h"

namespace vantrel {
namespace {

struct KeyCase {
  int key, modifiers;
  Command command;
};

TEST(CommandTable, EachKeyReachesItsCommand) {
  const KeyCase cases[] = {
      {WXK_SPACE, 0, Command::PlayPause},
      {'O', wxMOD_CONTROL, Command::OpenFolder},
      {'S', 0, Command::Screenshot},
      {'S', wxMOD_CONTROL, Command::SaveClip},
      {'F', 0, Command::FullScreen},
      {WXK_F11, 0, Command::FullScreen},
      {WXK_ESCAPE, 0, Command::Back},
      {'L', 0, Command::LargeMap},
      {WXK_F1, 0, Command::About},
      {WXK_UP, 0, Command::VolumeUp},
      {WXK_DOWN, 0, Command::VolumeDown},
      {'M', 0, Command::Mute},
      {WXK_PAGEUP, 0, Command::PreviousRecording},
      {WXK_PAGEDOWN, 0, Command::NextRecording},
      {'I', 0, Command::MarkIn},
      {'O', 0, Command::MarkOut},
      {'Z', 0, Command::WholePicture},
      {'[', 0, Command::Slower},
      {']', 0, Command::Faster},
      {WXK_BACK, 0, Command::NormalSpeed},
  };
  for (const KeyCase& c : cases) {
    const CommandSpec* spec = commandForKey(c.key, c.modifiers);
    ASSERT_NE(spec, nullptr) << keyLabel({c.key, c.modifiers});
    EXPECT_EQ(spec->command, c.command) << keyLabel({c.key, c.modifiers});
  }
  // Modifiers must match: Shift+S, Alt+F and a bare Ctrl are no commands.
  EXPECT_EQ(commandForKey('S', wxMOD_SHIFT), nullptr);
  EXPECT_EQ(commandForKey('F', wxMOD_ALT), nullptr);
  EXPECT_EQ(commandForKey('Q', 0), nullptr);
}

TEST(CommandTable, NoKeyOrButtonServesTwoCommandsAndMenuIdsComeBack) {
  std::set<std::pair<int, int>> keys;
  std::set<int> controls;
  for (const CommandSpec& spec : commandTable()) {
    for (const KeyBinding& key : spec.keys) {
      if (key.key != 0) EXPECT_TRUE(keys.insert({key.key, key.modifiers}).second) << keyLabel(key);
    }
    if (spec.control != 0) {
      EXPECT_TRUE(controls.insert(spec.control).second) << spec.control;
      EXPECT_EQ(commandForControl(spec.control), &spec);
    }
    EXPECT_EQ(commandForMenuId(commandMenuId(spec.command)), &spec);
  }
  // The main window's seven buttons.
  EXPECT_EQ(controls, (std::set<int>{IDC_OPEN, IDC_PLAY, IDC_STOP, IDC_SCREENSHOT, IDC_FULLSCREEN,
                                     IDOK_EXIT, IDC_BIG_MAP}));
  EXPECT_EQ(commandForMenuId(kFirstCommandMenuId - 1), nullptr);
  EXPECT_EQ(commandForControl(IDC_PLAYLIST), nullptr);
}

TEST(CommandTable, KeyHelpIsMadeFromTheTable) {
  const std::pair<KeyBinding, const char*> labels[] = {
      {{'S', wxMOD_CONTROL}, "Ctrl+S"},
      {{WXK_LEFT, wxMOD_SHIFT}, "Shift+Left"},
      {{WXK_PAGEUP, 0}, "Page Up"},
      {{',', 0}, ","},
      {{WXK_F11, 0}, "F11"},
      {{WXK_SPACE, 0}, "Space"},
  };
  for (const auto& [key, label] : labels) EXPECT_EQ(keyLabel(key), label);

  std::map<std::string, std::string> help;
  for (const KeyHelp& line : windowKeys()) help[line.key] = line.action;
  EXPECT_EQ(help["Up / Down"], "volume up / down");
  EXPECT_EQ(help["F, F11"], "full screen and back");
  EXPECT_EQ(help["I / O"], "mark a clip's start / end at the picture shown");
  EXPECT_EQ(help["Enter"], "play the selected entry");
  EXPECT_EQ(help["[ / ]"], "play slower / faster (0.25 to 4 times)");
  EXPECT_EQ(help["Backspace"], "normal speed");
  // Every key of the table is in the help.
  for (const CommandSpec& spec : commandTable()) {
    for (const KeyBinding& key : spec.keys) {
      if (key.key == 0) continue;
      bool listed = false;
      for (const auto& [keys, action] : help)
        listed |= keys.find(keyLabel(key)) != std::string::npos;
      EXPECT_TRUE(listed) << keyLabel(key);
    }
  }
}

}  // namespace
}  // namespace vantrel
