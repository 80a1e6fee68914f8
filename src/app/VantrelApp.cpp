#include "app/VantrelApp.h"

#include "app/VantrelDlg.h"
#include "engine/PlayerState.h"

namespace vantrel {

CVantrelApp::CVantrelApp() : m_player(std::make_unique<PlayerState>()) {}

CVantrelApp::~CVantrelApp() = default;

bool CVantrelApp::OnInit() {
  if (!wxApp::OnInit()) return false;
  {
    CVantrelDlg dialog(*m_player);
    SetTopWindow(&dialog);
    dialog.ShowModal();
  }
  return false;
}

}  // namespace vantrel
