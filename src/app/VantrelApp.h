#pragma once
#include <wx/app.h>

#include <memory>

#include "app/CommandLine.h"
#include "map/WindowGl.h"

namespace vantrel {

struct PlayerState;

// Runs the main window modally; the program ends when the window closes.
class CVantrelApp : public wxApp {
 public:
  // start: what to list or play once the window is up (main has read it).
  // Construct before wxEntry starts the toolkit.
  explicit CVantrelApp(WindowStart start);
  ~CVantrelApp() override;
  bool OnInit() override;
  int OnRun() override;

 private:
  CWindowGl m_gl;  // first: before the toolkit starts
  std::unique_ptr<PlayerState> m_player;
  WindowStart m_start;
};

}  // namespace vantrel
