#include "map/RouteCalls.h"

namespace vantrel {

namespace {

ScriptCall pointCall(const char* name, const MapPoint& point, CallMode mode) {
  return ScriptCall{name, {point.latitude, point.longitude}, mode};
}

// walkMode: what a failure of a route point's call does to the walk.
ScriptBatch routeBatch(const std::vector<RoutePoint>& route, CallMode walkMode) {
  ScriptBatch calls;
  calls.reserve(route.size() + 2);
  for (const RoutePoint& entry : route) {
    if (entry.examined == 0) {
      calls.push_back(pointCall("mapinitialize", entry.point, walkMode));
      // The small map marks the start only on a map that initialised.
      const CallMode startMode =
          walkMode == CallMode::StopOnFailure ? CallMode::StopOnFailure : CallMode::AfterSuccess;
      calls.push_back(pointCall("setStartPoint", entry.point, startMode));
    } else {
      calls.push_back(pointCall("gotoNextPoint", entry.point, walkMode));
    }
  }
  const MapPoint last = route.empty() ? MapPoint{} : route.back().point;
  calls.push_back(pointCall("setEndPoint", last, CallMode::Continue));
  return calls;
}

}  // namespace

ScriptBatch smallRouteBatch(const std::vector<RoutePoint>& route) {
  return routeBatch(route, CallMode::Continue);
}

ScriptBatch bigRouteBatch(const std::vector<RoutePoint>& route) {
  return routeBatch(route, CallMode::StopOnFailure);
}

ScriptBatch redrawBatch(const std::vector<MapPoint>& points) {
  ScriptBatch calls;
  calls.reserve(points.size() + 1);
  calls.push_back(ScriptCall{"clrRTploy", {}, CallMode::Continue});
  for (const MapPoint& point : points) calls.push_back(lineNewPointCall(point));
  return calls;
}

ScriptCall newRouteCall() {
  return ScriptCall{"clearRoute", {}, CallMode::Continue};
}

ScriptCall lineNewPointCall(const MapPoint& point) {
  return pointCall("setLineNewPoint", point, CallMode::Continue);
}

}  // namespace vantrel
