#include "map/RouteMaps.h"

#include <utility>

#include "map/BigMap.h"
#include "map/Explorer1.h"
#include "map/RouteCalls.h"
#include "map/WebPage.h"

namespace vantrel {

CRouteMaps::CRouteMaps(CExplorer1& smallMap, wxWindow* owner, const wxString& backend)
    : m_small(smallMap), m_owner(owner), m_backend(backend) {
  m_small.SetLoadedHandler([this] { SendHeldRoute(); });
}

CBigMap& CRouteMaps::BigMapWindow() {
  if (!m_bigMap) m_bigMap = new CBigMap(m_owner, m_backend);
  return *m_bigMap;
}

void CRouteMaps::OpenBigMap(const wxString& bigPageUrl, const wxString& exitText) {
  BigMapWindow();
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
  const bool sameDrive = !m_driveKey.empty();
  if (m_small.Document() && !(sameDrive && m_driveKey == m_smallDriveKey)) {
    CWebPage page;
    page.AttachDocument(m_small.Document());
    page.SendScriptBatch({newRouteCall()});
  }
  if (!m_bigMap || !m_bigMap->m_bOpen || (sameDrive && m_driveKey == m_bigDriveKey)) return;
  // The large map gets the new route at the next tick, as after opening.
  m_bigMap->m_bRouteReady = false;
  CWebPage bigPage;
  bigPage.AttachDocument(m_bigMap->Browser().Document());
  bigPage.SendScriptBatch({newRouteCall()});
}

void CRouteMaps::ClearRoutes() {
  m_smallDriveKey.clear();
  m_bigDriveKey.clear();
  // With no drive on either map, no drive counts as continuing.
  StartNewRoute();
}

void CRouteMaps::SetDriveContext(const std::string& key, std::vector<MapPoint> before,
                                 std::vector<MapPoint> after) {
  if (key != m_driveKey && m_bigMap) m_bigMap->m_bRouteReady = false;  // another route to draw
  m_driveKey = key;
  m_driveBefore = std::move(before);
  m_driveAfter = std::move(after);
}

std::vector<RoutePoint> CRouteMaps::DriveRoute(const std::vector<RoutePoint>& route) const {
  if (m_driveKey.empty()) return route;
  std::vector<RoutePoint> whole;
  whole.reserve(m_driveBefore.size() + route.size() + m_driveAfter.size());
  auto add = [&whole](const MapPoint& point) {
    RoutePoint entry;
    entry.examined = whole.size();  // only the drive's first point starts the route
    entry.point = point;
    whole.push_back(std::move(entry));
  };
  for (const MapPoint& point : m_driveBefore) add(point);
  for (const RoutePoint& entry : route) add(entry.point);
  for (const MapPoint& point : m_driveAfter) add(point);
  return whole;
}

std::vector<MapPoint> CRouteMaps::DriveTravelled(const std::vector<MapPoint>& points) const {
  if (m_driveKey.empty() || m_driveBefore.empty()) return points;
  std::vector<MapPoint> whole = m_driveBefore;
  whole.insert(whole.end(), points.begin(), points.end());
  return whole;
}

void CRouteMaps::InitMapRoute(const std::vector<RoutePoint>& route) {
  // A recording opened at start-up may load its track before the page: the
  // route would be lost for good, so it waits for the page instead.
  m_holdingRoute = !m_small.Document();
  if (m_holdingRoute) {
    m_heldRoute = DriveRoute(route);
    m_heldTravelled = DriveTravelled({});
    m_smallDriveKey = m_driveKey;
    return;
  }
  CWebPage page;
  page.AttachDocument(m_small.Document());
  // The next clip of the drive on the map: the route stays where it is and
  // only the travelled line moves, so the map does not jump between clips.
  ScriptBatch calls;
  if (m_driveKey.empty() || m_driveKey != m_smallDriveKey)
    calls = smallRouteBatch(DriveRoute(route));
  if (!m_driveKey.empty()) {
    const ScriptBatch travelled = redrawBatch(DriveTravelled({}));
    calls.insert(calls.end(), travelled.begin(), travelled.end());
  }
  m_smallDriveKey = m_driveKey;
  page.SendScriptBatch(calls);
  if (!m_driveKey.empty() && m_driveKey == m_bigDriveKey && BigMapReady()) {
    RedrawRouteTo({}, true);
  }
}

bool CRouteMaps::BigMapWaitingForRoute() const {
  return m_bigMap && m_bigMap->m_bOpen && !m_bigMap->m_bRouteReady;
}

int CRouteMaps::InitBigMapRoute(const std::vector<RoutePoint>& route) {
  if (!m_bigMap) return -1;
  CWebPage page;
  page.AttachDocument(Browser(true).Document());
  m_bigDriveKey = m_driveKey;
  const ScriptBatch calls = bigRouteBatch(DriveRoute(route));
  const BatchOutcome outcome = page.CallScriptBatch(calls);  // its outcome decides a retry
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
    m_heldTravelled = DriveTravelled(points);
    return;
  }
  CWebPage page;
  page.AttachDocument(Browser(large).Document());
  page.SendScriptBatch(redrawBatch(DriveTravelled(points)));
}

void CRouteMaps::SetLineNewPoint(const MapPoint& point) {
  if (m_holdingRoute) {
    m_heldTravelled.push_back(point);
  } else {
    CWebPage page;
    page.AttachDocument(m_small.Document());
    page.SendScriptBatch({lineNewPointCall(point)});
  }
  if (!BigMapReady()) return;
  CWebPage bigPage;
  bigPage.AttachDocument(m_bigMap->Browser().Document());
  bigPage.SendScriptBatch({lineNewPointCall(point)});
}

void CRouteMaps::SendHeldRoute() {
  if (!m_holdingRoute) return;
  m_holdingRoute = false;
  ScriptBatch calls = smallRouteBatch(m_heldRoute);
  const ScriptBatch travelled = redrawBatch(m_heldTravelled);
  calls.insert(calls.end(), travelled.begin(), travelled.end());
  CWebPage page;
  page.AttachDocument(m_small.Document());
  page.SendScriptBatch(calls);
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
