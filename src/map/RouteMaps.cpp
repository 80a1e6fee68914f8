#include "map/RouteMaps.h"

#include "map/BigMap.h"
#include "map/Explorer1.h"
#include "map/RouteCalls.h"
#include "map/WebPage.h"

namespace vantrel {

CRouteMaps::CRouteMaps(CExplorer1& smallMap, wxWindow* owner, const wxString& backend)
    : m_small(smallMap), m_owner(owner), m_backend(backend) {
  m_small.SetLoadedHandler([this] { SendHeldRoute(); });
}

void CRouteMaps::OpenBigMap(const wxString& bigPageUrl, const wxString& exitText) {
  if (!m_bigMap) m_bigMap = new CBigMap(m_owner, m_backend);
  if (m_bigMap->m_bOpen) {
    m_bigMap->Raise();
    return;
  }
  m_bigMap->OnInitDialog(bigPageUrl, exitText);
  m_bigMap->Show();
  // Keys (Escape above all) go to the large map, not to the main window.
  m_bigMap->Raise();
  m_bigMap->Browser().Window()->SetFocus();
}

bool CRouteMaps::CloseBigMap() {
  if (!m_bigMap || !m_bigMap->m_bOpen) return false;
  m_bigMap->CloseMap();
  return true;
}

void CRouteMaps::StartNewRoute() {
  // A route still waiting for the small map's page is the last recording's.
  m_holdingRoute = false;
  m_heldRoute.clear();
  m_heldTravelled.clear();
  if (m_small.Document()) {
    CWebPage page;
    page.AttachDocument(m_small.Document());
    page.CallScriptBatch({newRouteCall()});
  }
  if (!m_bigMap || !m_bigMap->m_bOpen) return;
  // The large map gets the new route at the next tick, as after opening.
  m_bigMap->m_bRouteReady = false;
  CWebPage bigPage;
  bigPage.AttachDocument(m_bigMap->Browser().Document());
  bigPage.CallScriptBatch({newRouteCall()});
}

void CRouteMaps::InitMapRoute(const std::vector<RoutePoint>& route) {
  // A recording opened at start-up may load its track before the page: the
  // route would be lost for good, so it waits for the page instead.
  m_holdingRoute = !m_small.Document();
  if (m_holdingRoute) {
    m_heldRoute = route;
    m_heldTravelled.clear();
    return;
  }
  CWebPage page;
  page.AttachDocument(m_small.Document());
  page.CallScriptBatch(smallRouteBatch(route));
}

bool CRouteMaps::BigMapWaitingForRoute() const {
  return m_bigMap && m_bigMap->m_bOpen && !m_bigMap->m_bRouteReady;
}

int CRouteMaps::InitBigMapRoute(const std::vector<RoutePoint>& route) {
  if (!m_bigMap) return -1;
  CWebPage page;
  page.AttachDocument(Browser(true).Document());
  const ScriptBatch calls = bigRouteBatch(route);
  const BatchOutcome outcome = page.CallScriptBatch(calls);
  // Only the walk's calls count; the closing "setEndPoint" may fail.
  const int endPoint = static_cast<int>(calls.size()) - 1;
  return outcome.firstFailure >= 0 && outcome.firstFailure < endPoint ? -1 : 0;
}

void CRouteMaps::SetBigMapRouteReady() {
  // Not for a map closed while its route was being sent.
  if (m_bigMap && m_bigMap->m_bOpen) m_bigMap->m_bRouteReady = true;
}

void CRouteMaps::RedrawRouteTo(const std::vector<MapPoint>& points, bool large) {
  if (large && !m_bigMap) return;
  if (!large && m_holdingRoute) {
    m_heldTravelled = points;
    return;
  }
  CWebPage page;
  page.AttachDocument(Browser(large).Document());
  page.CallScriptBatch(redrawBatch(points));
}

void CRouteMaps::SetLineNewPoint(const MapPoint& point) {
  if (m_holdingRoute) {
    m_heldTravelled.push_back(point);
  } else {
    CWebPage page;
    page.AttachDocument(m_small.Document());
    page.CallScriptBatch({lineNewPointCall(point)});
  }
  if (!BigMapReady()) return;
  CWebPage bigPage;
  bigPage.AttachDocument(m_bigMap->Browser().Document());
  bigPage.CallScriptBatch({lineNewPointCall(point)});
}

void CRouteMaps::SendHeldRoute() {
  if (!m_holdingRoute) return;
  m_holdingRoute = false;
  ScriptBatch calls = smallRouteBatch(m_heldRoute);
  const ScriptBatch travelled = redrawBatch(m_heldTravelled);
  calls.insert(calls.end(), travelled.begin(), travelled.end());
  CWebPage page;
  page.AttachDocument(m_small.Document());
  page.CallScriptBatch(calls);
  m_heldRoute.clear();
  m_heldTravelled.clear();
}

bool CRouteMaps::BigMapReady() const {
  return m_bigMap && m_bigMap->m_bOpen && m_bigMap->m_bRouteReady;
}

CExplorer1& CRouteMaps::Browser(bool large) const {
  return large ? m_bigMap->Browser() : m_small;
}

}  // namespace vantrel
