// The route map shared by both map pages. The program draws through six
// global functions, every argument a text in decimal degrees:
//   mapinitialize(lat, lon)    set the map up at the first point of a route
//   setStartPoint(lat, lon)    mark the start of the route
//   gotoNextPoint(lat, lon)    add the next point of the route
//   setEndPoint(lat, lon)      mark the end of the route (empty texts: no end)
//   setLineNewPoint(lat, lon)  extend the travelled line; the marker follows it
//   clrRTploy()                remove the travelled line
//   clearRoute()               forget the route, the line and the markers: a
//                              new recording's route may begin without
//                              mapinitialize (its first entry has no fix)
// and, for a chosen drive of the library:
//   showDrive(clips)           draw a drive's whole route over its clips:
//                              "lat,lon lat,lon;lat,lon ..." (clips by ';')
//   clearDrive()               remove it
// A page whose browser listens (the large map) tells the program of clicks:
//   "route <lat> <lon>"  a click on the drive's route
//   "place <lat> <lon>"  a right-click anywhere on the map
// A walk of an hour-long track is thousands of calls in one script, so the
// calls only record points; drawing happens once per frame afterwards.
/* global L */
"use strict";

var vantrelMap = {
  map: null,
  route: [],      // route points, in call order
  travelled: [],  // travelled points since the last clrRTploy
  start: null,
  end: null,
  current: null,
  layers: null,
  drawPending: false,
  drive: null,  // the chosen drive's layer
  follow: true,  // the view keeps the vehicle in sight
};

function postToProgram(text) {
  var handlers = window.webkit && window.webkit.messageHandlers;
  if (handlers && handlers.vantrel) handlers.vantrel.postMessage(text);
}

function latLngText(latlng) {
  return latlng.lat.toFixed(6) + " " + latlng.lng.toFixed(6);
}

function startRouteMap(options) {
  var map = L.map("map", {
    zoomControl: options.zoomControl,
    attributionControl: true,
    fadeAnimation: false,
    zoomAnimation: false,
    markerZoomAnimation: false,
    // The web engine makes one notch of a mouse wheel 93 pixels, a little
    // past what the default takes for one level: each notch zoomed two.
    wheelPxPerZoomLevel: 120,
  });
  map.attributionControl.setPrefix(false);
  addTiles(map);  // map-tiles.js
  L.control.scale({ imperial: options.imperialScale, maxWidth: options.scaleWidth }).addTo(map);
  var style = options.style;
  vantrelMap.layers = {
    // Clicks pass through to a drive's route underneath.
    route: L.polyline([], { color: style.routeColor, weight: style.routeWeight, opacity: 0.8, interactive: false }).addTo(map),
    travelled: L.polyline([], { color: style.travelledColor, weight: style.travelledWeight, interactive: false }).addTo(map),
    start: L.circleMarker([0, 0], { radius: style.markerRadius, color: "#ffffff", weight: 2, fillColor: "#2e9e3e", fillOpacity: 1 }),
    end: L.circleMarker([0, 0], { radius: style.markerRadius, color: "#ffffff", weight: 2, fillColor: "#c62828", fillOpacity: 1 }),
    current: L.circleMarker([0, 0], { radius: style.markerRadius + 2, color: "#ffffff", weight: 3, fillColor: "#ff6f00", fillOpacity: 1 }),
  };
  vantrelMap.map = map;
  map.setView([0, 0], 2);
  map.on("contextmenu", function (e) { postToProgram("place " + latLngText(e.latlng)); });
}

function toPoint(lat, lon) {
  var latitude = parseFloat(lat), longitude = parseFloat(lon);
  if (!isFinite(latitude) || !isFinite(longitude)) {
    throw new Error("not a coordinate: " + lat + ", " + lon);
  }
  return L.latLng(latitude, longitude);
}

function requireMap() {
  if (!vantrelMap.map) throw new Error("the map is not ready");
  return vantrelMap.map;
}

function placeMarker(layer, point) {
  layer.setLatLng(point);
  if (!vantrelMap.map.hasLayer(layer)) layer.addTo(vantrelMap.map);
}

// Draws what the calls recorded, once per frame however many calls came.
function scheduleDraw() {
  if (vantrelMap.drawPending) return;
  vantrelMap.drawPending = true;
  window.requestAnimationFrame(drawNow);
}

function drawNow() {
  var m = vantrelMap, layers = m.layers;
  m.drawPending = false;
  layers.route.setLatLngs(m.route);
  layers.travelled.setLatLngs(m.travelled);
  if (m.start) placeMarker(layers.start, m.start); else layers.start.remove();
  if (m.end) placeMarker(layers.end, m.end); else layers.end.remove();
  if (m.current) {
    placeMarker(layers.current, m.current);
    layers.current.bringToFront();
    // Keep the vehicle in view: recentre once it nears the edge.
    if (m.follow && !m.map.getBounds().pad(-0.2).contains(m.current)) m.map.panTo(m.current, { animate: false });
  } else {
    layers.current.remove();
  }
}

function mapinitialize(lat, lon) {
  var map = requireMap();
  var point = toPoint(lat, lon);
  clearRoute();
  map.setView(point, 16);
  return true;
}

function setStartPoint(lat, lon) {
  requireMap();
  vantrelMap.start = toPoint(lat, lon);
  vantrelMap.route.push(vantrelMap.start);
  scheduleDraw();
}

function gotoNextPoint(lat, lon) {
  requireMap();
  vantrelMap.route.push(toPoint(lat, lon));
  scheduleDraw();
}

function setEndPoint(lat, lon) {
  var map = requireMap();
  if (lat === "" && lon === "") return;  // a track without a single fix
  vantrelMap.end = toPoint(lat, lon);
  if (vantrelMap.route.length > 1) {
    map.fitBounds(L.latLngBounds(vantrelMap.route), { padding: [12, 12], maxZoom: 17, animate: false });
  } else {
    map.setView(vantrelMap.end, 16);
  }
  scheduleDraw();
}

function setLineNewPoint(lat, lon) {
  requireMap();
  var point = toPoint(lat, lon);
  vantrelMap.travelled.push(point);
  vantrelMap.current = point;
  scheduleDraw();
}

function clearRoute() {
  requireMap();
  vantrelMap.route = [];
  vantrelMap.travelled = [];
  vantrelMap.start = vantrelMap.end = vantrelMap.current = null;
  vantrelMap.follow = true;
  scheduleDraw();
}

function clrRTploy() {
  requireMap();
  vantrelMap.travelled = [];
  vantrelMap.current = null;
  scheduleDraw();
}

function showDrive(clips) {
  var map = requireMap();
  clearDrive();
  var lines = String(clips).split(";").map(function (clip) {
    return clip.split(" ").filter(function (p) { return p !== ""; }).map(function (p) {
      var parts = p.split(",");
      return toPoint(parts[0], parts[1]);
    });
  }).filter(function (line) { return line.length > 0; });
  if (lines.length === 0) return;
  vantrelMap.drive = L.polyline(lines, { color: "#6a1b9a", weight: 9, opacity: 0.45 }).addTo(map);
  vantrelMap.drive.bringToBack();
  vantrelMap.drive.on("click", function (e) { postToProgram("route " + latLngText(e.latlng)); });
  // The drive chosen stays in view until the next route is drawn.
  vantrelMap.follow = false;
  map.fitBounds(vantrelMap.drive.getBounds(), { padding: [24, 24], maxZoom: 17, animate: false });
}

function clearDrive() {
  requireMap();
  if (vantrelMap.drive) vantrelMap.drive.remove();
  vantrelMap.drive = null;
}
