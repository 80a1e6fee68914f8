#include "app/VantrelApp.h"

#include <clocale>

#include "app/VantrelDlg.h"
#include "engine/PlayerState.h"
#include "map/MapCache.h"

namespace vantrel {

CVantrelApp::CVantrelApp(WindowStart start)
    : m_player(std::make_unique<PlayerState>()), m_start(std::move(start)) {}

CVantrelApp::~CVantrelApp() = default;

bool CVantrelApp::OnInit() {
  // The command line was read and checked before the toolkit started, so
  // wxApp's own parser is not run.
  // The playlist sorts in the user's collation; numbers keep the C format
  // (coordinates for the maps are written with a point).
  std::setlocale(LC_COLLATE, "");
  m_gl.Restore();  // the toolkit has started; the map views start the web engine
  limitMapCache(mapCacheFolder(), kMapCacheLimit);  // before any map browser uses it
  {
    CVantrelDlg dialog(*m_player);
    SetTopWindow(&dialog);
    if (!m_start.path.empty()) dialog.OpenCommandLinePath(m_start.path);
    // --autoplay presses Play, through the command table like the button.
    if (m_start.autoplay) dialog.RunCommand(Command::PlayPause);
    dialog.ShowModal();
    printStatsIfAsked(dialog.ShownStats(), stderr);
  }
  // The window is gone: OnRun ends the program without a main loop, and
  // with status 0 (a false result here would report a failed start).
  return true;
}

int CVantrelApp::OnRun() {
  return 0;
}

}  // namespace vantrel
