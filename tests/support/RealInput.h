#pragma once
// Real mouse and keyboard input on the test display, as a user gives it: the
// X server's XTEST extension through xdotool. The events reach the program
// through GTK like any other, focus rules and all.
#include <wx/window.h>

#include <cstdlib>
#include <string>

namespace testsupport {

// Runs one xdotool command; whether it succeeded.
inline bool xdotool(const std::string& arguments) {
  return std::system(("xdotool " + arguments + " >/dev/null 2>&1").c_str()) == 0;
}

// (--sync waits for the pointer to move, and would wait many seconds for a
// pointer already there: it is first put one pixel beside the point.)
inline bool moveMouseTo(const wxPoint& screen) {
  const std::string y = " " + std::to_string(screen.y);
  return xdotool("mousemove " + std::to_string(screen.x + 1) + y) &&
         xdotool("mousemove --sync " + std::to_string(screen.x) + y);
}

// A left click at a point of the screen.
inline bool clickAt(const wxPoint& screen) {
  return moveMouseTo(screen) && xdotool("click 1");
}

// A left click on a point of window (its client coordinates; the centre by
// default).
inline bool clickOn(const wxWindow& window, wxPoint at = wxDefaultPosition) {
  if (at == wxDefaultPosition)
    at = wxPoint(window.GetClientSize().x / 2, window.GetClientSize().y / 2);
  return clickAt(window.ClientToScreen(at));
}

// Presses and releases keys, named as X names them ("Home", "Return", "Next").
inline bool pressKeys(const std::string& keys) {
  return xdotool("key " + keys);
}

}  // namespace testsupport
