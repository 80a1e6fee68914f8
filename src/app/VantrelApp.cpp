#include "app/VantrelApp.h"

#include <wx/cmdline.h>

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
    if (!m_startPath.empty()) dialog.OpenCommandLinePath(m_startPath);
    dialog.ShowModal();
  }
  return false;
}

void CVantrelApp::OnInitCmdLine(wxCmdLineParser& parser) {
  wxApp::OnInitCmdLine(parser);
  parser.AddParam("FOLDER|FILE", wxCMD_LINE_VAL_STRING, wxCMD_LINE_PARAM_OPTIONAL);
}

bool CVantrelApp::OnCmdLineParsed(wxCmdLineParser& parser) {
  if (!wxApp::OnCmdLineParsed(parser)) return false;
  if (parser.GetParamCount() > 0) m_startPath = parser.GetParam(0).utf8_string();
  return true;
}

}  // namespace vantrel
