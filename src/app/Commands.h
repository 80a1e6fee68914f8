#pragma once
// Every command of the main window in one table: what runs it, when it can
// run, the keys that reach it, the button that issues it, its item in the
// context menu and its line in the key help. Buttons, the context menu, the
// keys and the command line dispatch through it, and the enabled states of
// the buttons and menu items follow from it alone (wxEVT_UPDATE_UI).
#include <span>
#include <string>

namespace vantrel {

class CVantrelDlg;

enum class Command {
  OpenFolder,
  PlayPause,
  Stop,
  Screenshot,
  FullScreen,
  LargeMap,
  Exit,
  Back,
  About,
  VolumeUp,
  VolumeDown,
  Mute,
  PreviousRecording,
  NextRecording,
  MarkIn,
  MarkOut,
  SaveClip,
  WholePicture,
  SeekBack,
  SeekForward,
  SeekBackShort,
  SeekForwardShort,
  SeekBackLong,
  SeekForwardLong,
  SeekStart,
  SeekEnd,
  StepBack,
  StepForward,
  Slower,
  Faster,
  NormalSpeed,
};

struct KeyBinding {
  int key = 0;        // a wxKeyCode, or the key's character ('S', ',')
  int modifiers = 0;  // wxMOD_CONTROL, wxMOD_SHIFT, ...
};

struct CommandSpec {
  Command command;
  // The context menu's item; nullptr: not in the menu.
  const char* menuText;
  // What it does, for the key help; nullptr: it shares the line of the
  // command before it, its keys after a "/" ("Left / Right").
  const char* help;
  int control;  // the button that issues it (an IDC_ id), or 0
  void (*run)(CVantrelDlg& window);
  bool (*enabled)(const CVantrelDlg& window);  // nullptr: always
  KeyBinding keys[2];
};

std::span<const CommandSpec> commandTable();
const CommandSpec& commandSpec(Command command);
// The command a key reaches, or nullptr; modifiers must match exactly.
const CommandSpec* commandForKey(int key, int modifiers);
// The command a button issues, or nullptr.
const CommandSpec* commandForControl(int id);

// The context menu's items carry these ids: kFirstCommandMenuId + the
// command's place in the table.
constexpr int kFirstCommandMenuId = 20000;
int commandMenuId(Command command);
const CommandSpec* commandForMenuId(int id);

// How the help names a key: "Ctrl+S", "Shift+Left", "Page Up", ",".
std::string keyLabel(const KeyBinding& key);

}  // namespace vantrel
