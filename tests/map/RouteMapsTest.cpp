#include <gtest/gtest.h>
#include <wx/button.h>
#include <wx/display.h>
#include <wx/frame.h>

#include "gps/DashboardRoute.h"
#include "gps/SentenceTracks.h"
#include "map/BigMap.h"
#include "map/Explorer1.h"
#include "map/MapPages.h"
#include "map/MapTestSupport.h"
#include "map/RouteMaps.h"
#include "map/WebPage.h"

using namespace vantrel;
using testsupport::evaluate;

namespace {

// The route a track file of these sentences gives.
std::vector<RoutePoint> routeOf(const std::vector<std::string>& sentences) {
  return routePoints(testsupport::sentenceTrack(sentences));
}

// A short drive: the first entry has no fix, then four points going north.
const std::vector<std::string> kTrack = {
    "$GPRMC,V,073005.000,,,,,0.00,0.0,101226",
    "$GPRMC,A,073006.000,4807.0380,N,01131.0000,E,20.00,0.0,101226",
    "$GPRMC,A,073007.000,4807.0480,N,01131.0050,E,25.00,0.0,101226",
    "$GPRMC,A,073008.000,4807.0580,N,01131.0100,E,30.00,0.0,101226",
    "$GPRMC,A,073009.000,4807.0680,N,01131.0150,E,35.00,0.0,101226",
};

class RouteMapsTest : public testing::Test {
 protected:
  void SetUp() override {
    frame = new wxFrame(nullptr, wxID_ANY, "maps", wxDefaultPosition, wxSize(420, 360));
    small.Create(frame, wxID_ANY, wxRect(0, 0, 400, 320));
    frame->Show();
  }
  void TearDown() override { frame->Destroy(); }
  void LoadSmallMap() {
    small.Navigate(testsupport::mapPage(kSmallMapPage));
    ASSERT_TRUE(testsupport::waitForPage(small));
    testsupport::recordMapCalls(small);
  }

  wxFrame* frame = nullptr;
  CExplorer1 small;
  CRouteMaps maps{small, frame, wxWebViewBackendDefault};
};

}  // namespace

TEST_F(RouteMapsTest, SmallMapRouteArrivesInOrderAndIsDrawn) {
  LoadSmallMap();
  maps.InitMapRoute(routeOf(kTrack));
  EXPECT_EQ(evaluate(small, "mapCalls.join('|')"),
            "gotoNextPoint 48.117300 11.516667|gotoNextPoint 48.117467 11.516750|"
            "gotoNextPoint 48.117633 11.516833|gotoNextPoint 48.117800 11.516917|"
            "setEndPoint 48.117800 11.516917");
  EXPECT_EQ(evaluate(small, "vantrelMap.route.length"), "4");
  EXPECT_EQ(evaluate(small, "vantrelMap.start === null"), "true");  // no fix at the start
  EXPECT_EQ(evaluate(small, "vantrelMap.end.lat"), "48.1178");
  // The drawing follows once per frame.
  EXPECT_TRUE(testsupport::pumpUntil(
      [&] { return evaluate(small, "vantrelMap.layers.route.getLatLngs().length") == "4"; }));
}

TEST_F(RouteMapsTest, RouteThatComesBeforeThePageIsSentOnceItHasLoaded) {
  small.Navigate(testsupport::mapPage(kSmallMapPage));
  ASSERT_EQ(small.Document(), nullptr);  // a recording opened at start-up
  maps.InitMapRoute(routeOf(kTrack));
  maps.SetLineNewPoint({"48.117300", "11.516667"});
  maps.RedrawRouteTo({{"48.117300", "11.516667"}, {"48.117467", "11.516750"}}, false);
  maps.SetLineNewPoint({"48.117633", "11.516833"});
  ASSERT_TRUE(testsupport::waitForPage(small));
  EXPECT_EQ(evaluate(small, "vantrelMap.route.length + ' ' + vantrelMap.travelled.length"), "4 3");
  EXPECT_EQ(evaluate(small, "vantrelMap.current.lat"), "48.117633");
  maps.SetLineNewPoint({"48.117800", "11.516917"});  // from now on straight to the page
  EXPECT_EQ(evaluate(small, "vantrelMap.travelled.length"), "4");
}

TEST_F(RouteMapsTest, ValidFirstEntryInitialisesAndMarksTheStart) {
  LoadSmallMap();
  std::vector<std::string> track(kTrack.begin() + 1, kTrack.end());
  maps.InitMapRoute(routeOf(track));
  EXPECT_EQ(evaluate(small, "mapCalls.slice(0, 3).join('|')"),
            "mapinitialize 48.117300 11.516667|setStartPoint 48.117300 11.516667|"
            "gotoNextPoint 48.117467 11.516750");
  EXPECT_EQ(evaluate(small, "vantrelMap.start.lat"), "48.1173");
}

TEST_F(RouteMapsTest, TravelledLineRedrawsAndFollowsTheVehicle) {
  LoadSmallMap();
  maps.InitMapRoute(routeOf(kTrack));
  maps.SetLineNewPoint({"48.117300", "11.516667"});
  maps.SetLineNewPoint({"48.117467", "11.516750"});
  EXPECT_EQ(evaluate(small, "vantrelMap.travelled.length"), "2");
  maps.RedrawRouteTo({{"48.117300", "11.516667"}}, false);
  EXPECT_EQ(evaluate(small, "vantrelMap.travelled.length"), "1");
  EXPECT_EQ(evaluate(small, "mapCalls.slice(-2).join('|')"),
            "clrRTploy|setLineNewPoint 48.117300 11.516667");
  maps.RedrawRouteTo({}, false);
  EXPECT_EQ(evaluate(small, "vantrelMap.travelled.length + ' ' + vantrelMap.current"), "0 null");
  // Far away: the map recentres on the new position.
  maps.SetLineNewPoint({"-33.868800", "-151.209300"});
  EXPECT_TRUE(testsupport::pumpUntil([&] {
    return evaluate(small, "vantrelMap.map.getBounds().contains([-33.8688, -151.2093])") == "true";
  }));
}

// The route calls go to the page without waiting: recordings loaded one
// after another faster than the page draws must still leave the last one's
// route and travelled line, with nothing of the ones before mixed in.
TEST_F(RouteMapsTest, QuickSuccessionOfRecordingsLeavesTheLastOnesRoute) {
  LoadSmallMap();
  const std::vector<std::vector<std::string>> tracks = {
      kTrack,
      {"$GPRMC,A,080000.000,5130.0000,N,00007.0000,W,10.00,0.0,101226",
       "$GPRMC,A,080001.000,5130.0100,N,00007.0100,W,10.00,0.0,101226"},
      {"$GPRMC,A,090000.000,4052.0000,N,07400.0000,W,10.00,0.0,101226",
       "$GPRMC,A,090001.000,4052.0100,N,07400.0100,W,10.00,0.0,101226",
       "$GPRMC,A,090002.000,4052.0200,N,07400.0200,W,10.00,0.0,101226"},
  };
  for (const std::vector<std::string>& track : tracks) {
    maps.StartNewRoute();
    const std::vector<RoutePoint> route = routeOf(track);
    maps.InitMapRoute(route);
    for (const RoutePoint& entry : route) maps.SetLineNewPoint(entry.point);
    maps.RedrawRouteTo({route.front().point}, false);  // a seek back to the start
    maps.SetLineNewPoint(route[1].point);
  }
  EXPECT_EQ(evaluate(small, "vantrelMap.route.map(function (p) { return p.lat; }).join(' ')"),
            "40.866667 40.866833 40.867");
  EXPECT_EQ(evaluate(small, "vantrelMap.travelled.map(function (p) { return p.lat; }).join(' ')"),
            "40.866667 40.866833");
  EXPECT_EQ(evaluate(small, "vantrelMap.start.lat + ' ' + vantrelMap.end.lat"), "40.866667 40.867");
  // The last recording's calls arrived whole and in order.
  EXPECT_EQ(evaluate(small, "mapCalls.slice(-11).join('|')"),
            "mapinitialize 40.866667 -74.000000|setStartPoint 40.866667 -74.000000|"
            "gotoNextPoint 40.866833 -74.000167|gotoNextPoint 40.867000 -74.000333|"
            "setEndPoint 40.867000 -74.000333|setLineNewPoint 40.866667 -74.000000|"
            "setLineNewPoint 40.866833 -74.000167|setLineNewPoint 40.867000 -74.000333|"
            "clrRTploy|setLineNewPoint 40.866667 -74.000000|setLineNewPoint 40.866833 -74.000167");
  // Each recording's route began afresh: the first has no fix at its start.
  EXPECT_EQ(
      evaluate(small,
               "mapCalls.filter(function (c) { return c.indexOf('mapinitialize') == 0; }).length"),
      "2");
}

TEST_F(RouteMapsTest, PageFunctionsRefuseTextsThatAreNoCoordinates) {
  LoadSmallMap();
  CWebPage page;
  page.AttachDocument(small.Document());
  EXPECT_FALSE(page.CallScriptFunction("setLineNewPoint", {"north", "east"}));
  EXPECT_EQ(page.LastError(), "JSCall Error:\nsetLineNewPoint: not a coordinate: north, east");
  EXPECT_FALSE(page.CallScriptFunction("mapinitialize", {"", ""}));
  EXPECT_TRUE(page.CallScriptFunction("setEndPoint", {"", ""}));  // no fix in the whole track
  EXPECT_TRUE(page.CallScriptFunction("clrRTploy"));
}

TEST_F(RouteMapsTest, LargeMapCoversTheScreenAndGetsItsRouteOnceLoaded) {
  maps.OpenBigMap(testsupport::mapPage(kBigMapPage), "Exit Large Map");
  CBigMap* big = maps.BigMap();
  ASSERT_NE(big, nullptr);
  EXPECT_TRUE(big->m_bOpen);
  EXPECT_TRUE(big->IsShown());
  EXPECT_TRUE(maps.BigMapWaitingForRoute());
  // The map fills the screen above the exit button, at the bottom right.
  const wxRect screen = wxDisplay(0u).GetGeometry();
  const wxRect browser = big->Browser().Window()->GetRect();
  auto* exit = static_cast<wxButton*>(big->FindWindow(wxID_OK));
  const wxRect button = exit->GetRect();
  EXPECT_EQ(browser.GetPosition(), wxPoint(10, 15));
  EXPECT_EQ(browser.GetRight(), screen.width - 11);
  EXPECT_EQ(button.GetRight(), screen.width - 11);
  EXPECT_EQ(button.GetBottom(), screen.height - 11);
  EXPECT_EQ(browser.GetBottom() + 11, button.GetTop());
  EXPECT_EQ(exit->GetLabel(), "Exit Large Map");

  // Still loading: the walk fails and is tried again at the next tick.
  EXPECT_EQ(maps.InitBigMapRoute(routeOf(kTrack)), -1);
  ASSERT_TRUE(testsupport::waitForPage(big->Browser()));
  testsupport::recordMapCalls(big->Browser());
  EXPECT_EQ(maps.InitBigMapRoute(routeOf(kTrack)), 0);
  maps.SetBigMapRouteReady();
  EXPECT_FALSE(maps.BigMapWaitingForRoute());
  maps.SetLineNewPoint({"48.117467", "11.516750"});
  EXPECT_EQ(evaluate(big->Browser(), "vantrelMap.route.length + ' ' + vantrelMap.travelled.length"),
            "4 1");
  testsupport::pumpFor(300);
  testsupport::saveScreenshot("large-map");
}

TEST_F(RouteMapsTest, EveryWayOfClosingTheLargeMapClearsItsFlags) {
  // The exit button, Escape (the cancel command) and the window manager.
  const std::vector<std::function<void(CBigMap&)>> closers = {
      [](CBigMap& big) {
        wxCommandEvent click(wxEVT_BUTTON, wxID_OK);
        click.SetEventObject(big.FindWindow(wxID_OK));
        big.GetEventHandler()->ProcessEvent(click);
      },
      [](CBigMap& big) {
        wxKeyEvent escape(wxEVT_CHAR_HOOK);
        escape.m_keyCode = WXK_ESCAPE;
        escape.SetEventObject(&big);
        big.GetEventHandler()->ProcessEvent(escape);
      },
      [](CBigMap& big) { big.Close(); },
  };
  // The owner must not see the Escape: the main window's ends the program.
  int ownerKeys = 0;
  frame->Bind(wxEVT_CHAR_HOOK, [&](wxKeyEvent&) { ++ownerKeys; });
  for (size_t i = 0; i < closers.size(); ++i) {
    maps.OpenBigMap(testsupport::mapPage(kBigMapPage), "Exit");
    CBigMap* big = maps.BigMap();
    ASSERT_TRUE(testsupport::waitForPage(big->Browser()));
    maps.SetBigMapRouteReady();
    ASSERT_TRUE(big->m_bRouteReady);
    closers[i](*big);
    EXPECT_FALSE(big->m_bOpen) << i;
    EXPECT_FALSE(big->m_bRouteReady) << i;
    EXPECT_FALSE(big->IsShown()) << i;
    EXPECT_EQ(big->Browser().Document(), nullptr) << i;  // no call reaches the old page
    EXPECT_FALSE(maps.BigMapWaitingForRoute()) << i;
  }
  EXPECT_EQ(ownerKeys, 0);
  // Opened again, it waits for the route once more.
  maps.OpenBigMap(testsupport::mapPage(kBigMapPage), "Exit");
  EXPECT_TRUE(maps.BigMapWaitingForRoute());
}

TEST_F(RouteMapsTest, ADrivesClipsAroundTheRecordingShareOneRoute) {
  LoadSmallMap();
  const std::vector<MapPoint> first = {{"48.100000", "11.500000"}, {"48.101000", "11.500000"}};
  const std::vector<MapPoint> last = {{"48.110000", "11.500000"}};
  maps.SetDriveContext("drive 1", first, last);
  maps.InitMapRoute(routeOf(kTrack));
  // The drive's first point starts the route; the clips before count as travelled.
  EXPECT_EQ(evaluate(small, "mapCalls.slice(0, 2).join('|')"),
            "mapinitialize 48.100000 11.500000|setStartPoint 48.100000 11.500000");
  EXPECT_EQ(evaluate(small, "vantrelMap.route.length + ' ' + vantrelMap.travelled.length"), "7 2");
  EXPECT_EQ(evaluate(small, "vantrelMap.end.lat"), "48.11");
  maps.RedrawRouteTo({{"48.117300", "11.516667"}}, false);
  EXPECT_EQ(evaluate(small, "vantrelMap.travelled.length"), "3");

  // The next clip of the same drive: the route stays, the line moves on.
  testsupport::recordMapCalls(small);
  std::vector<MapPoint> before = first;
  before.push_back({"48.117300", "11.516667"});
  maps.SetDriveContext("drive 1", before, {});
  maps.InitMapRoute(routeOf(kTrack));
  EXPECT_EQ(evaluate(small,
                     "mapCalls.filter(function (c) { return c.indexOf('clrRTploy') !== 0 && "
                     "c.indexOf('setLineNewPoint') !== 0; }).length"),
            "0");
  EXPECT_EQ(evaluate(small, "vantrelMap.route.length + ' ' + vantrelMap.travelled.length"), "7 3");

  // Another drive, or none, draws its own route; the large map sends it again.
  maps.OpenBigMap(testsupport::mapPage(kBigMapPage), "Exit");
  ASSERT_TRUE(testsupport::waitForPage(maps.BigMap()->Browser()));
  maps.SetBigMapRouteReady();
  maps.SetDriveContext("", {}, {});
  EXPECT_TRUE(maps.BigMapWaitingForRoute());
  maps.InitMapRoute(routeOf({kTrack.begin() + 1, kTrack.end()}));  // a fix first: a fresh route
  EXPECT_EQ(evaluate(small, "vantrelMap.route.length + ' ' + vantrelMap.travelled.length"), "4 0");
}
