#pragma once
#include <wx/app.h>

#include <memory>

namespace vantrel {

struct PlayerState;

// Runs the main window modally and returns false, so the program ends when
// the window closes.
class CVantrelApp : public wxApp {
 public:
  CVantrelApp();
  ~CVantrelApp() override;
  bool OnInit() override;

 private:
  std::unique_ptr<PlayerState> m_player;
};

}  // namespace vantrel
