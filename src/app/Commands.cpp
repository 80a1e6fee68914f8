#include "app/Commands.h"

#include <wx/defs.h>

#include <cctype>

#include "app/ControlTable.h"
#include "app/VantrelDlg.h"

namespace vantrel {

namespace {

using W = CVantrelDlg;

bool hasRecordings(const W& w) {
  return w.HasRecordings();
}
bool showsPlayback(const W& w) {
  return w.ShowsPlayback();
}
bool canSeek(const W& w) {
  return w.CanSeek();
}

const CommandSpec kCommands[] = {
    {Command::OpenFolder,
     nullptr,
     "open a folder",
     IDC_OPEN,
     [](W& w) { w.ChooseFolder(); },
     nullptr,
     {{'O', wxMOD_CONTROL}}},
    {Command::PlayPause,
     "Play / Pause",
     "play, pause, resume",
     IDC_PLAY,
     [](W& w) { w.PlayOrPause(); },
     [](const W& w) { return w.PlayEnabled(); },
     {{WXK_SPACE}}},
    {Command::Stop, "Stop", "stop", IDC_STOP, [](W& w) { w.StopPlaying(); }, showsPlayback, {}},
    {Command::Screenshot,
     "Screenshot",
     "save the picture as a BMP",
     IDC_SCREENSHOT,
     [](W& w) { w.TakeScreenshot(); },
     [](const W& w) { return w.CanTakeScreenshot(); },
     {{'S'}}},
    {Command::FullScreen,
     "Full Screen",
     "full screen and back",
     IDC_FULLSCREEN,
     [](W& w) { w.ToggleFullScreen(); },
     nullptr,
     {{'F'}, {WXK_F11}}},
    {Command::LargeMap,
     "Large Map",
     "the large map",
     IDC_BIG_MAP,
     [](W& w) { w.OpenBigMap(); },
     nullptr,
     {{'L'}}},
    {Command::Exit, nullptr, "exit", IDOK_EXIT, [](W& w) { w.ExitProgram(); }, nullptr, {}},
    {Command::Back,
     nullptr,
     "close the large map, else leave full screen, else exit",
     0,
     [](W& w) { w.GoBack(); },
     nullptr,
     {{WXK_ESCAPE}}},
    // Its menu item keeps the window's own About text.
    {Command::About,
     "",
     "About Vantrel, with these keys",
     0,
     [](W& w) { w.ShowAbout(); },
     nullptr,
     {{WXK_F1}}},
    {Command::VolumeUp,
     nullptr,
     "volume up / down",
     0,
     [](W& w) { w.ChangeVolume(+1); },
     nullptr,
     {{WXK_UP}}},
    {Command::VolumeDown,
     nullptr,
     nullptr,
     0,
     [](W& w) { w.ChangeVolume(-1); },
     nullptr,
     {{WXK_DOWN}}},
    {Command::Mute,
     nullptr,
     "sound off and on again",
     0,
     [](W& w) { w.ToggleMute(); },
     nullptr,
     {{'M'}}},
    {Command::PreviousRecording,
     nullptr,
     "play the previous / next recording",
     0,
     [](W& w) { w.PlayNeighbour(-1); },
     hasRecordings,
     {{WXK_PAGEUP}}},
    {Command::NextRecording,
     nullptr,
     nullptr,
     0,
     [](W& w) { w.PlayNeighbour(+1); },
     hasRecordings,
     {{WXK_PAGEDOWN}}},
    {Command::MarkIn,
     "Mark Clip Start",
     "mark a clip's start / end at the picture shown",
     0,
     [](W& w) { w.MarkClipIn(); },
     [](const W& w) { return w.CanMarkClip(); },
     {{'I'}}},
    {Command::MarkOut,
     "Mark Clip End",
     nullptr,
     0,
     [](W& w) { w.MarkClipOut(); },
     [](const W& w) { return w.CanMarkClip(); },
     {{'O'}}},
    {Command::SaveClip,
     "Save Clip",
     "save the marked clip",
     0,
     [](W& w) { w.SaveClip(); },
     [](const W& w) { return w.CanSaveClip(); },
     {{'S', wxMOD_CONTROL}}},
    {Command::WholePicture,
     "Whole Picture",
     "the whole picture again (no zoom)",
     0,
     [](W& w) { w.ShowWholePicture(); },
     [](const W& w) { return w.PictureZoomed(); },
     {{'Z'}}},
    {Command::SeekBack,
     nullptr,
     "5 s back / on",
     0,
     [](W& w) { w.SeekBy(-5); },
     canSeek,
     {{WXK_LEFT}}},
    {Command::SeekForward, nullptr, nullptr, 0, [](W& w) { w.SeekBy(+5); }, canSeek, {{WXK_RIGHT}}},
    {Command::SeekBackShort,
     nullptr,
     "1 s back / on",
     0,
     [](W& w) { w.SeekBy(-1); },
     canSeek,
     {{WXK_LEFT, wxMOD_SHIFT}}},
    {Command::SeekForwardShort,
     nullptr,
     nullptr,
     0,
     [](W& w) { w.SeekBy(+1); },
     canSeek,
     {{WXK_RIGHT, wxMOD_SHIFT}}},
    {Command::SeekBackLong,
     nullptr,
     "60 s back / on",
     0,
     [](W& w) { w.SeekBy(-60); },
     canSeek,
     {{WXK_LEFT, wxMOD_CONTROL}}},
    {Command::SeekForwardLong,
     nullptr,
     nullptr,
     0,
     [](W& w) { w.SeekBy(+60); },
     canSeek,
     {{WXK_RIGHT, wxMOD_CONTROL}}},
    {Command::SeekStart,
     nullptr,
     "the first / the last picture",
     0,
     [](W& w) { w.SeekToStart(); },
     canSeek,
     {{WXK_HOME}}},
    {Command::SeekEnd, nullptr, nullptr, 0, [](W& w) { w.SeekToEnd(); }, canSeek, {{WXK_END}}},
    {Command::StepBack,
     "One Picture Back",
     "one picture back / on (pausing; hold to repeat)",
     0,
     [](W& w) { w.StepPicture(-1); },
     showsPlayback,
     {{','}}},
    {Command::StepForward,
     "One Picture On",
     nullptr,
     0,
     [](W& w) { w.StepPicture(+1); },
     showsPlayback,
     {{'.'}}},
    {Command::Slower,
     "Slower",
     "play slower / faster (0.25 to 4 times)",
     0,
     [](W& w) { w.ChangePlaybackSpeed(-1); },
     [](const W& w) { return w.CanChangePlaybackSpeed(-1); },
     {{'['}}},
    {Command::Faster,
     "Faster",
     nullptr,
     0,
     [](W& w) { w.ChangePlaybackSpeed(+1); },
     [](const W& w) { return w.CanChangePlaybackSpeed(+1); },
     {{']'}}},
    {Command::NormalSpeed,
     "Normal Speed",
     "normal speed",
     0,
     [](W& w) { w.SetPlaybackSpeed(1.0); },
     [](const W& w) { return w.PlaybackSpeed() != 1.0; },
     {{WXK_BACK}}},
};

struct KeyName {
  int key;
  const char* name;
};
constexpr KeyName kKeyNames[] = {
    {WXK_SPACE, "Space"},        {WXK_ESCAPE, "Escape"},  {WXK_LEFT, "Left"},
    {WXK_RIGHT, "Right"},        {WXK_UP, "Up"},          {WXK_DOWN, "Down"},
    {WXK_HOME, "Home"},          {WXK_END, "End"},        {WXK_PAGEUP, "Page Up"},
    {WXK_PAGEDOWN, "Page Down"}, {WXK_BACK, "Backspace"}, {WXK_RETURN, "Enter"},
};

}  // namespace

std::span<const CommandSpec> commandTable() {
  return kCommands;
}

const CommandSpec& commandSpec(Command command) {
  for (const CommandSpec& spec : kCommands) {
    if (spec.command == command) return spec;
  }
  return kCommands[0];  // every command has its line; not reached
}

const CommandSpec* commandForKey(int key, int modifiers) {
  for (const CommandSpec& spec : kCommands) {
    for (const KeyBinding& binding : spec.keys) {
      if (binding.key != 0 && binding.key == key && binding.modifiers == modifiers) return &spec;
    }
  }
  return nullptr;
}

const CommandSpec* commandForControl(int id) {
  for (const CommandSpec& spec : kCommands) {
    if (spec.control != 0 && spec.control == id) return &spec;
  }
  return nullptr;
}

int commandMenuId(Command command) {
  return kFirstCommandMenuId + static_cast<int>(&commandSpec(command) - kCommands);
}

const CommandSpec* commandForMenuId(int id) {
  const int index = id - kFirstCommandMenuId;
  if (index < 0 || index >= static_cast<int>(std::size(kCommands))) return nullptr;
  return &kCommands[index];
}

std::string keyLabel(const KeyBinding& binding) {
  std::string label;
  if (binding.modifiers & wxMOD_CONTROL) label += "Ctrl+";
  if (binding.modifiers & wxMOD_ALT) label += "Alt+";
  if (binding.modifiers & wxMOD_SHIFT) label += "Shift+";
  for (const KeyName& name : kKeyNames) {
    if (name.key == binding.key) return label + name.name;
  }
  if (binding.key >= WXK_F1 && binding.key <= WXK_F24) {
    return label + "F" + std::to_string(binding.key - WXK_F1 + 1);
  }
  return label + static_cast<char>(binding.key);
}

}  // namespace vantrel
