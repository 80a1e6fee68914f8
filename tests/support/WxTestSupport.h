#pragma once
// Helpers for window tests: run the event loop for a while or until
// something happens, and save what the screen shows.
#include <wx/app.h>
#include <wx/evtloop.h>
#include <wx/utils.h>

#include <chrono>
#include <cstdlib>
#include <functional>
#include <string>
#include <thread>

namespace testsupport {

inline void pumpEvents() {
  wxTheApp->ProcessPendingEvents();
  while (wxTheApp->Pending()) wxTheApp->Dispatch();
  wxTheApp->ProcessIdle();
}

// Runs the event loop until done() or the timeout; returns done().
inline bool pumpUntil(const std::function<bool()>& done, int timeoutMs = 5000) {
  wxEventLoopBase* active = wxEventLoopBase::GetActive();
  wxEventLoop loop;
  if (!active) wxEventLoopBase::SetActive(&loop);
  auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  bool ok = false;
  while (!(ok = done()) && std::chrono::steady_clock::now() < end) {
    pumpEvents();
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  if (!active) wxEventLoopBase::SetActive(nullptr);
  return ok;
}

inline void pumpFor(int ms) {
  pumpUntil([] { return false; }, ms);
}

// Saves the whole virtual screen as a PNG artefact under the build tree.
inline std::string saveScreenshot(const std::string& name) {
  std::string dir = std::string(VANTREL_BINARY_DIR) + "/screenshots";
  std::string path = dir + "/" + name + ".png";
  std::string command = "mkdir -p '" + dir + "' && import -window root '" + path + "' 2>/dev/null";
  return std::system(command.c_str()) == 0 ? path : std::string();
}

}  // namespace testsupport
