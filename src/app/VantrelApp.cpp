#include "app/VantrelApp.h"

#include <wx/cmdline.h>

#include <clocale>

#include "app/VantrelDlg.h"
#include "engine/PlayerState.h"

namespace vantrel {

CVantrelApp::CVantrelApp() : m_player(std::make_unique<PlayerState>()) {}

CVantrelApp::~CVantrelApp() = default;

bool CVantrelApp::OnInit() {
  if (!wxApp::OnInit()) return false;
  // The playlist sorts in the user's collation; numbers keep the C format
  // (coordinates for the maps are written with a point).
  std::setlocale(LC_COLLATE, "");
  {
    CVantrelDlg dialog(*m_player);
    SetTopWindow(&dialog);
    if (!m_startPath.empty()) dialog.OpenCommandLinePath(m_startPath);
    if (m_autoplay && dialog.CurrentPlaylistIndex() >= 0) dialog.PlaySelectedEntry();
    dialog.ShowModal();
  }
  // The window is gone: OnRun ends the program without a main loop, and
  // with status 0 (a false result here would report a failed start).
  return true;
}

int CVantrelApp::OnRun() {
  return 0;
}

void CVantrelApp::OnInitCmdLine(wxCmdLineParser& parser) {
  wxApp::OnInitCmdLine(parser);
  parser.AddSwitch("", "autoplay", "start playing the first recording of FOLDER");
  parser.AddParam("FOLDER|FILE", wxCMD_LINE_VAL_STRING, wxCMD_LINE_PARAM_OPTIONAL);
}

bool CVantrelApp::OnCmdLineParsed(wxCmdLineParser& parser) {
  if (!wxApp::OnCmdLineParsed(parser)) return false;
  m_autoplay = parser.Found("autoplay");
  if (parser.GetParamCount() > 0) m_startPath = parser.GetParam(0).utf8_string();
  return true;
}

}  // namespace vantrel
