// The map pages' tiles in the real web engine, from a tile server on
// 127.0.0.1 and from an MBTiles file made here.
#include <gtest/gtest.h>
#include <wx/frame.h>
#include <wx/image.h>

#include "app/TempFolder.h"
#include "map/Explorer1.h"
#include "map/LocalTileServer.h"
#include "map/MapBrowser.h"
#include "map/MapPages.h"
#include "map/MapTestSupport.h"
#include "map/TileFixtures.h"
#include "map/TileSource.h"

using namespace vantrel;
using testsupport::evaluate;

namespace {

const wxColour kServerTile(200, 0, 200);
const wxColour kOfflineTile(0, 150, 150);

class MapTiles : public testing::Test {
 protected:
  void SetUp() override {
    frame = new wxFrame(nullptr, wxID_ANY, "tiles", wxPoint(0, 0), wxSize(420, 360));
    map.Create(frame, wxID_ANY, wxRect(0, 0, 400, 320));
    frame->Show();
  }
  void TearDown() override { frame->Destroy(); }

  // Loads the small map with tiles and shows a place at zoom 16.
  void ShowMap(const TileSource& tiles) {
    map.Navigate(mapPageUrl(std::string(VANTREL_BINARY_DIR) + "/", kSmallMapPage, tiles));
    ASSERT_TRUE(testsupport::waitForPage(map));
    ASSERT_EQ(evaluate(map, "mapinitialize('48.117300', '11.516667')"), "true");
  }
  bool WaitForLoadedTiles() {
    return testsupport::pumpUntil(
        [&] {
          return evaluate(map, "document.querySelectorAll('img.leaflet-tile-loaded').length") !=
                 "0";
        },
        15000);
  }
  std::string Note() {
    return evaluate(map, "vantrelTiles.note ? vantrelTiles.note.getContainer().textContent : ''");
  }

  // The share of the map's pixels on screen that have colour.
  double ShareOnScreen(const wxColour& colour) {
    testsupport::pumpFor(500);  // the engine paints in its own process
    const std::string shot =
        testsupport::saveScreenshot(testing::UnitTest::GetInstance()->current_test_info()->name());
    if (!wxImage::FindHandler(wxBITMAP_TYPE_PNG)) wxImage::AddHandler(new wxPNGHandler);
    wxImage image;
    if (shot.empty() || !image.LoadFile(shot, wxBITMAP_TYPE_PNG)) return -1;
    const wxRect area = map.Window()->GetScreenRect();
    int matching = 0, total = 0;
    for (int y = area.y; y < area.GetBottom(); ++y) {
      for (int x = area.x; x < area.GetRight(); ++x) {
        ++total;
        matching += std::abs(image.GetRed(x, y) - colour.Red()) < 8 &&
                    std::abs(image.GetGreen(x, y) - colour.Green()) < 8 &&
                    std::abs(image.GetBlue(x, y) - colour.Blue()) < 8;
      }
    }
    return total ? double(matching) / total : -1;
  }

  wxFrame* frame = nullptr;
  CExplorer1 map;
};

TileSource tilesFrom(const std::string& url) {
  TileSource source;
  source.url = url;
  return source;
}

std::string serverTile() {
  return testsupport::solidPng(kServerTile.Red(), kServerTile.Green(), kServerTile.Blue());
}

}  // namespace

TEST_F(MapTiles, RequestsNameTheProgramAndASecondLoadFetchesNothing) {
  testsupport::LocalTileServer server(serverTile(), 200);
  ShowMap(tilesFrom(server.urlTemplate()));
  ASSERT_TRUE(WaitForLoadedTiles());
  const auto first = server.requests();
  ASSERT_FALSE(first.empty());
  for (const auto& request : first) EXPECT_EQ(request.userAgent, mapUserAgent()) << request.path;
  EXPECT_EQ(mapUserAgent(), "Vantrel/" VANTREL_VERSION " (+" VANTREL_HOMEPAGE ")");
  EXPECT_GT(ShareOnScreen(kServerTile), 0.5);
  EXPECT_EQ(Note(), "");

  // The same drive again: every tile comes from the cache.
  ShowMap(tilesFrom(server.urlTemplate()));
  ASSERT_TRUE(WaitForLoadedTiles());
  testsupport::pumpFor(1000);
  EXPECT_EQ(server.requests().size(), first.size());
}

TEST_F(MapTiles, RefusedTilesAreHiddenAndNotedOnceWhileTheRouteDraws) {
  // A refusal that carries a picture, as blocking servers send.
  testsupport::LocalTileServer server(serverTile(), 403);
  ShowMap(tilesFrom(server.urlTemplate()));
  ASSERT_TRUE(testsupport::pumpUntil([&] { return !Note().empty(); }, 15000));
  EXPECT_EQ(Note(), "Map tiles refused by the server (403)");
  evaluate(map, "gotoNextPoint('48.118300', '11.517667'); setEndPoint('48.118300', '11.517667')");
  testsupport::pumpFor(500);
  EXPECT_EQ(evaluate(map, "document.querySelectorAll('.vantrel-tiles-note').length"), "1");
  EXPECT_EQ(evaluate(map, "vantrelMap.layers.route.getLatLngs().length"), "1");
  EXPECT_LT(ShareOnScreen(kServerTile), 0.01);
}

TEST_F(MapTiles, AnUnreachableServerIsNoted) {
  std::string url;
  {
    testsupport::LocalTileServer gone("", 200);
    url = gone.urlTemplate();
  }  // nothing listens there any more
  ShowMap(tilesFrom(url));
  ASSERT_TRUE(testsupport::pumpUntil([&] { return !Note().empty(); }, 15000));
  EXPECT_EQ(Note(), "Map tiles unavailable");
}

TEST_F(MapTiles, AnOfflineMapShowsItsTilesAndAttribution) {
  testsupport::TempFolder folder;
  const std::string path = (folder.path() / "offline.mbtiles").string();
  const std::string tile =
      testsupport::solidPng(kOfflineTile.Red(), kOfflineTile.Green(), kOfflineTile.Blue());
  std::vector<testsupport::StoredTile> tiles;
  for (int x = 0; x < 4; ++x) {
    for (int y = 0; y < 4; ++y) tiles.push_back({2, x, y, tile});
  }
  ASSERT_TRUE(testsupport::writeMBTiles(
      path, {{"format", "png"}, {"minzoom", "2"}, {"maxzoom", "2"}, {"attribution", "Offline Co"}},
      tiles));
  const TileChoice choice = chooseTileSource(path.c_str(), "", "");
  ASSERT_EQ(choice.note, "");
  ShowMap(choice.source);  // at zoom 16 the map scales its zoom-2 tiles
  ASSERT_TRUE(WaitForLoadedTiles());
  EXPECT_GT(ShareOnScreen(kOfflineTile), 0.5);
  EXPECT_NE(evaluate(map, "document.querySelector('.leaflet-control-attribution').textContent")
                .find("Offline Co"),
            std::string::npos);
  EXPECT_EQ(Note(), "");
}

TEST_F(MapTiles, AnOfflineMapThatBreaksAfterTheStartIsNoted) {
  testsupport::TempFolder folder;
  const std::string path = (folder.path() / "later-gone.mbtiles").string();
  ShowMap(tilesFrom(mbtilesUrlTemplate(path)));  // the file is not there
  ASSERT_TRUE(testsupport::pumpUntil([&] { return !Note().empty(); }, 15000));
  EXPECT_EQ(Note(), "Map tiles unavailable");
}
