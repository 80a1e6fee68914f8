#include "map/RouteMaps.h"

#include "map/BigMap.h"
#include "map/Explorer1.h"
#include "map/RouteCalls.h"
#include "map/WebPage.h"

namespace vantrel {

CRouteMaps::CRouteMaps(CExplorer1& smallMap, wxWindow* owner, const wxString& backend)
    : m_small(smallMap), m_owner(owner), m_backend(backend) {}

void CRouteMaps::OpenBigMap(const wxString& bigPageUrl, const wxString& exitText) {
  if (!m_bigMap) m_bigMap = new CBigMap(m_owner, m_backend);
  if (m_bigMap->m_bOpen) {
    m_bigMap->Raise();
    return;
  }
  m_bigMap->OnInitDialog(bigPageUrl, exitText);
  m_bigMap->Show();
}

void CRouteMaps::InitMapRoute(const std::vector<RoutePoint>& route) {
  CWebPage page;
  page.AttachDocument(m_small.Document());
  page.CallScriptBatch(smallRouteBatch(route));
}

bool CRouteMaps::BigMapWaitingForRoute() const {
  return m_bigMap && m_bigMap->m_bOpen && !m_bigMap->m_bRouteReady;
}

int CRouteMaps::InitBigMapRoute(const std::vector<RoutePoint>& route) {
  CWebPage page;
  page.AttachDocument(Browser(true).Document());
  const ScriptBatch calls = bigRouteBatch(route);
  const BatchOutcome outcome = page.CallScriptBatch(calls);
  // Only the walk's calls count; the closing "setEndPoint" may fail.
  const int endPoint = static_cast<int>(calls.size()) - 1;
  return outcome.firstFailure >= 0 && outcome.firstFailure < endPoint ? -1 : 0;
}

void CRouteMaps::SetBigMapRouteReady() {
  if (m_bigMap) m_bigMap->m_bRouteReady = true;
}

void CRouteMaps::RedrawRouteTo(const std::vector<MapPoint>& points, bool large) {
  if (large && !m_bigMap) return;
  CWebPage page;
  page.AttachDocument(Browser(large).Document());
  page.CallScriptBatch(redrawBatch(points));
}

void CRouteMaps::SetLineNewPoint(const MapPoint& point) {
  CWebPage page;
  page.AttachDocument(m_small.Document());
  page.CallScriptBatch({lineNewPointCall(point)});
  if (!BigMapReady()) return;
  CWebPage bigPage;
  bigPage.AttachDocument(m_bigMap->Browser().Document());
  bigPage.CallScriptBatch({lineNewPointCall(point)});
}

bool CRouteMaps::BigMapReady() const {
  return m_bigMap && m_bigMap->m_bOpen && m_bigMap->m_bRouteReady;
}

CExplorer1& CRouteMaps::Browser(bool large) const {
  return large ? m_bigMap->Browser() : m_small;
}

}  // namespace vantrel
