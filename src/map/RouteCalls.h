#pragma once
// The calls that draw a route on a map page, in the order the page expects
// them, as batches for CWebPage::CallScriptBatch.
#include <vector>

#include "gps/DashboardRoute.h"
#include "map/ScriptText.h"

namespace vantrel {

// The small map's route walk: "mapinitialize" and, only if it succeeded,
// "setStartPoint" for a valid very first entry, else "gotoNextPoint"; every
// failure is passed over; then "setEndPoint" with the last point (two empty
// texts when there was none).
ScriptBatch smallRouteBatch(const std::vector<RoutePoint>& route);

// The large map's walk: the same calls, but the first failure of
// "mapinitialize", "setStartPoint" or "gotoNextPoint" ends it.
ScriptBatch bigRouteBatch(const std::vector<RoutePoint>& route);

// "clrRTploy", then "setLineNewPoint" for each point; failures passed over.
ScriptBatch redrawBatch(const std::vector<MapPoint>& points);

// "clearRoute": the page forgets the last recording's route, travelled line
// and markers, before a new one's route (if it has one) is sent.
ScriptCall newRouteCall();

// One "setLineNewPoint".
ScriptCall lineNewPointCall(const MapPoint& point);

}  // namespace vantrel
