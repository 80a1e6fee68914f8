// The main window's maps and dashboard: the small map's page, the web-engine
// check, WM_GPS_SYNC, the speed unit and the large map.
#include <wx/choice.h>

#include <cstdlib>

#include "app/GpsSyncEvent.h"
#include "app/LanguageTable.h"
#include "app/VantrelDlg.h"
#include "engine/PlayerState.h"
#include "map/MapPages.h"
#include "map/WebEngineCheck.h"

namespace vantrel {

void CVantrelDlg::NavigateSmallMap() {
  TileChoice tiles =
      chooseTileSource(std::getenv(kMapTilesVariable), m_settings.tiles, m_settings.tilesKey);
  m_tileSource = std::move(tiles.source);
  AddStartupNote(tiles.note);
  m_map.Navigate(wxString::FromUTF8(mapPageUrl(m_moduleDir, kSmallMapPage, m_tileSource)));
}

void CVantrelDlg::CheckWebEngine() {
  m_webEngineText = webEngineText(checkWebEngine());
}

void CVantrelDlg::OnGpsSync(wxThreadEvent& event) {
  if (isStaleGpsSync(event, m_player.generation.load())) return;
  // Paused, the seconds come from seeks and frame steps: the slider and the
  // elapsed time show the picture's.
  const auto code = static_cast<GpsSyncCode>(event.GetInt());
  if ((code == kSyncTick || code == kSyncSeek) && m_player.playState.load() == Paused) {
    ShowElapsed(event.GetExtraLong());
  }
  m_dashboard.OnGpsSync(code, event.GetExtraLong());
  if (code == kSyncTick || code == kSyncSeek) {
    UpdateChartCursor(event.GetExtraLong());
  }
}

void CVantrelDlg::OnSpeedUnitChange(wxCommandEvent&) {
  m_dashboard.OnSpeedUnitChange(m_speedUnit->GetSelection());
  m_settings.speedUnit = m_speedUnit->GetSelection();
  SaveSettings();
  if (m_drivesPanel) ShowDrivesPanel();  // distances and speeds in the new unit
}

void CVantrelDlg::OpenBigMap() {
  FurnishBigMap();
  m_routeMaps.OpenBigMap(wxString::FromUTF8(mapPageUrl(m_moduleDir, kBigMapPage, m_tileSource)),
                         LanguageText(kSlotBigMapClose));
  ShowDrivesPanel();
}

}  // namespace vantrel
