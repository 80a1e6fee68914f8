#pragma once
// The two map pages as the dashboard draws on them: the small map in the
// main window and the large map, opened on request. Each routine attaches a
// fresh bridge to the page the browser holds at that moment and sends its
// calls in one batch, without waiting for the page to run them (the pages
// run batches in the order sent); only the large map's route waits, as its
// outcome decides whether it is sent again. UI thread only.
#include <wx/string.h>

#include <string>

#include "gps/Dashboard.h"

class wxWindow;

namespace vantrel {

class CExplorer1;
class CBigMap;

class CRouteMaps : public DashboardMaps {
 public:
  // smallMap: the main window's browser; owner: the main window.
  CRouteMaps(CExplorer1& smallMap, wxWindow* owner, const wxString& backend);

  // Opens the large map (made on first use) on the page of bigPageUrl; its
  // route follows at the next tick or seek.
  void OpenBigMap(const wxString& bigPageUrl, const wxString& exitText);
  // The large map window, or nullptr before it was first opened.
  CBigMap* BigMap() const { return m_bigMap; }
  // Closes the large map if it is open; returns whether it was.
  bool CloseBigMap();
  // The large map window, made (hidden) when it does not exist yet.
  CBigMap& BigMapWindow();

  // The drive of the recording about to play: the route points of its clips
  // before and after this one, and a key naming the drive ("" for none).
  // While a drive is set, both maps draw its whole route and show the clips
  // before as travelled; a recording of the drive already drawn only moves
  // the travelled line.
  void SetDriveContext(const std::string& key, std::vector<MapPoint> before,
                       std::vector<MapPoint> after);

  void StartNewRoute() override;
  // A recording that could not be played: no route on either map, not even
  // its drive's.
  void ClearRoutes();
  void InitMapRoute(const std::vector<RoutePoint>& route) override;
  bool BigMapWaitingForRoute() const override;
  int InitBigMapRoute(const std::vector<RoutePoint>& route) override;
  void SetBigMapRouteReady() override;
  bool BigMapReady() const override;
  void RedrawRouteTo(const std::vector<MapPoint>& points, bool large) override;
  void SetLineNewPoint(const MapPoint& point) override;

 private:
  CExplorer1& Browser(bool large) const;
  void SendHeldRoute();
  // route with the drive's clips before and after it around it.
  std::vector<RoutePoint> DriveRoute(const std::vector<RoutePoint>& route) const;
  // points with the drive's clips before them in front.
  std::vector<MapPoint> DriveTravelled(const std::vector<MapPoint>& points) const;

  CExplorer1& m_small;
  wxWindow* m_owner;
  wxString m_backend;
  CBigMap* m_bigMap = nullptr;  // a child of m_owner, which deletes it
  // A route that came while the small map's page was still loading, and the
  // travelled line since: sent once the page has loaded.
  bool m_holdingRoute = false;
  std::vector<RoutePoint> m_heldRoute;
  std::vector<MapPoint> m_heldTravelled;
  // The drive of the recording playing, and the one whose route each map shows.
  std::string m_driveKey;
  std::vector<MapPoint> m_driveBefore;
  std::vector<MapPoint> m_driveAfter;
  std::string m_smallDriveKey;
  std::string m_bigDriveKey;
};

}  // namespace vantrel
