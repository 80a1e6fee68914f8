#pragma once
#include <wx/app.h>

#include <memory>
#include <string>

namespace vantrel {

struct PlayerState;

// Runs the main window modally; the program ends when the window closes.
class CVantrelApp : public wxApp {
 public:
  CVantrelApp();
  ~CVantrelApp() override;
  bool OnInit() override;
  int OnRun() override;
  // vantrel [FOLDER|FILE]: what to list or play once the window is up.
  void OnInitCmdLine(wxCmdLineParser& parser) override;
  bool OnCmdLineParsed(wxCmdLineParser& parser) override;

 private:
  std::unique_ptr<PlayerState> m_player;
  std::string m_startPath;  // empty: start with an empty playlist
  bool m_autoplay = false;  // --autoplay: play the first entry at start-up
};

}  // namespace vantrel
