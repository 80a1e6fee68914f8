#pragma once
// A dashboard's outputs recorded for tests: the readout texts and gauge as
// they stand, and every map call in order.
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "gps/Dashboard.h"

namespace testsupport {

class RecordingDisplay : public vantrel::DashboardDisplay {
 public:
  RecordingDisplay() {
    for (vantrel::Readout r : vantrel::kReadouts) texts[r] = vantrel::resetReadoutText(r);
  }
  void ShowReadout(vantrel::Readout readout, const std::string& text) override {
    texts[readout] = text;
  }
  void ShowGauge(double value) override { gauge = value; }
  void ShowGaugeUnits(const std::string& text) override { units = text; }

  std::map<vantrel::Readout, std::string> texts;
  double gauge = 0;
  std::string units = "KMH";
};

// Each map call as one line: "small:init <n>", "big:init <n>", "small:redraw
// <lat,lon> ...", "line <lat,lon>". InitBigMapRoute fails while bigFails > 0.
class RecordingMaps : public vantrel::DashboardMaps {
 public:
  void StartNewRoute() override { calls.push_back("new"); }
  void InitMapRoute(const std::vector<vantrel::RoutePoint>& route) override {
    calls.push_back("small:init " + std::to_string(route.size()));
    lastRoute = route;
  }
  bool BigMapWaitingForRoute() const override { return bigOpen && !bigReady; }
  int InitBigMapRoute(const std::vector<vantrel::RoutePoint>& route) override {
    calls.push_back("big:init " + std::to_string(route.size()));
    if (bigFails > 0) {
      --bigFails;
      return -1;
    }
    return 0;
  }
  void SetBigMapRouteReady() override { bigReady = true; }
  bool BigMapReady() const override { return bigOpen && bigReady; }
  void RedrawRouteTo(const std::vector<vantrel::MapPoint>& points, bool large) override {
    std::string line = large ? "big:redraw" : "small:redraw";
    for (const vantrel::MapPoint& p : points) line += " " + p.latitude + "," + p.longitude;
    calls.push_back(line);
  }
  void SetLineNewPoint(const vantrel::MapPoint& point) override {
    calls.push_back("line " + point.latitude + "," + point.longitude);
  }

  std::vector<std::string> calls;
  std::vector<vantrel::RoutePoint> lastRoute;
  bool bigOpen = false;
  bool bigReady = false;
  int bigFails = 0;
};

// A sentence as dashcams write it: time hhmmss, latitude ddmm.mmmm and its
// hemisphere, longitude dddmm.mmmm and its hemisphere, speed in km/h.
inline std::string rmc(const char* time, const char* lat, const char* ns, const char* lon,
                       const char* ew, double speed) {
  char text[160];
  std::snprintf(text, sizeof text, "$GPRMC,A,%s.000,%s,%s,%s,%s,%.2f,0.0,101226", time, lat, ns,
                lon, ew, speed);
  return text;
}

}  // namespace testsupport
