// The tiles under the route map. The page's address names them:
//   tiles=<URL template>|none  key=<fills {key}>  attribution=<plain text>
//   minzoom=, maxzoom=  (the zooms the source holds; beyond them the map
//   scales its tiles)
// Without tiles= they come from OpenStreetMap. When tiles cannot be had (no
// network, a refusing server, an unreadable offline map) the route still
// draws on the plain background, and a note in a corner says so, once.
/* global L */
"use strict";

var vantrelTiles = { layer: null, note: null, map: null };

function escapeHtml(text) {
  var div = document.createElement("div");
  div.textContent = text;
  return div.innerHTML;
}

function tileParameters() {
  var params = new URLSearchParams(window.location.search);
  var template = params.has("tiles") ? params.get("tiles") : "https://tile.openstreetmap.org/{z}/{x}/{y}.png";
  return {
    template: template === "none" ? "" : template,
    key: params.get("key") || "",
    attribution: params.has("tiles") ? params.get("attribution") || "" : "\u00a9 OpenStreetMap contributors",
    minZoom: params.has("minzoom") ? parseInt(params.get("minzoom"), 10) : null,
    maxZoom: params.has("maxzoom") ? parseInt(params.get("maxzoom"), 10) : null,
  };
}

function addTiles(map) {
  vantrelTiles.map = map;
  var p = tileParameters();
  if (!p.template) return;
  var options = { maxZoom: 19, attribution: escapeHtml(p.attribution), key: p.key };
  if (p.minZoom !== null && isFinite(p.minZoom)) options.minNativeZoom = p.minZoom;
  if (p.maxZoom !== null && isFinite(p.maxZoom)) options.maxNativeZoom = p.maxZoom;
  vantrelTiles.layer = L.tileLayer(p.template, options);
  vantrelTiles.layer.on("tileerror", function (event) {
    hideTile(event.tile);
    showTilesNote("Map tiles unavailable");
  });
  vantrelTiles.layer.addTo(map);
}

function hideTile(tile) {
  tile.style.visibility = "hidden";  // no broken-image marks
}

function showTilesNote(text) {
  if (vantrelTiles.note) return;
  var note = L.control({ position: "topright" });
  note.onAdd = function () {
    var div = L.DomUtil.create("div", "vantrel-tiles-note");
    div.textContent = text;
    div.style.cssText = "background: rgba(255,255,255,0.85); color: #333; padding: 2px 6px;" +
      "font: 11px sans-serif; border-radius: 3px; box-shadow: 0 0 3px rgba(0,0,0,0.3);";
    return div;
  };
  note.addTo(vantrelTiles.map);
  vantrelTiles.note = note;
}

// The program reports a tile answer that was an HTTP error (status), which
// may still carry an image (a server's "access blocked" picture): hidden,
// and noted. Returns whether url was one of this map's tiles.
function vantrelTileRefused(url, status) {
  var tiles = document.querySelectorAll("img.leaflet-tile");
  var found = false;
  for (var i = 0; i < tiles.length; ++i) {
    if (tiles[i].src === url) {
      hideTile(tiles[i]);
      found = true;
    }
  }
  if (found) showTilesNote("Map tiles refused by the server (" + status + ")");
  return found;
}
