// The map pages' tiles in the real web engine, from a tile server on
// 127.0.0.1 and from an MBTiles file made here.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <wx/frame.h>
#include <wx/image.h>

#include <chrono>
#include <filesystem>
#include <thread>

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
  // Waits until every tile the map shows has come: only then has the tile
  // server seen every request of this load (it records one before answering).
  bool WaitForLoadedTiles() {
    return testsupport::pumpUntil(
        [&] {
          return evaluate(map,
                          "!vantrelTiles.layer.isLoading() &&"
                          " document.querySelectorAll('img.leaflet-tile-loaded').length > 0") ==
                 "true";
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

namespace {

// Starts the program on recording with tiles from server, its settings and
// caches under home.
pid_t startProgram(const testsupport::LocalTileServer& server, const std::string& home,
                   const std::string& recording) {
  const pid_t pid = fork();
  if (pid == 0) {
    setenv("XDG_CACHE_HOME", (home + "/cache").c_str(), 1);
    setenv("XDG_CONFIG_HOME", (home + "/config").c_str(), 1);
    setenv("HOME", home.c_str(), 1);
    setenv(kMapTilesVariable, server.urlTemplate().c_str(), 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    const std::string program = std::string(VANTREL_BINARY_DIR) + "/vantrel";
    execl(program.c_str(), "vantrel", recording.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  return pid;
}

// Waits until server has seen requests and then none for two seconds.
void waitForQuietServer(const testsupport::LocalTileServer& server) {
  const auto start = std::chrono::steady_clock::now();
  auto last = start;
  size_t seen = 0;
  while (std::chrono::steady_clock::now() - start < std::chrono::seconds(30)) {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    const auto now = std::chrono::steady_clock::now();
    if (server.requests().size() != seen) {
      seen = server.requests().size();
      last = now;
    }
    if (seen > 0 && now - last > std::chrono::seconds(2)) return;
  }
}

// Ends the program as a session's end would.
void endProgram(pid_t pid) {
  kill(pid, SIGTERM);
  int status = 0;
  waitpid(pid, &status, 0);
}

// Pixels of exactly colour (give or take 2) on the whole screen.
int pixelsOnScreen(const wxColour& colour) {
  const std::string shot = testsupport::saveScreenshot("program-second-run");
  if (!wxImage::FindHandler(wxBITMAP_TYPE_PNG)) wxImage::AddHandler(new wxPNGHandler);
  wxImage image;
  if (shot.empty() || !image.LoadFile(shot, wxBITMAP_TYPE_PNG)) return -1;
  int count = 0;
  const unsigned char* rgb = image.GetData();
  for (long i = 0; i < long(image.GetWidth()) * image.GetHeight(); ++i, rgb += 3) {
    count += std::abs(rgb[0] - colour.Red()) <= 2 && std::abs(rgb[1] - colour.Green()) <= 2 &&
             std::abs(rgb[2] - colour.Blue()) <= 2;
  }
  return count;
}

}  // namespace

// The program itself, run twice on one drive: the second run shows the
// tiles without asking the server, from the disk cache of the first.
TEST(MapTileCache, TheProgramTakesTilesFromDiskOnTheSecondRun) {
  const wxColour brown(140, 90, 30);  // a colour no test picture has
  testsupport::LocalTileServer server(
      testsupport::solidPng(brown.Red(), brown.Green(), brown.Blue()), 200);
  testsupport::TempFolder home;
  const std::string recording = std::string(VANTREL_FIXTURES) + "/clip.MOV";
  const pid_t first = startProgram(server, home.path().string(), recording);
  waitForQuietServer(server);
  endProgram(first);
  const auto requests = server.requests();
  ASSERT_FALSE(requests.empty());
  for (const auto& request : requests) EXPECT_EQ(request.userAgent, mapUserAgent());
  EXPECT_TRUE(std::filesystem::exists(home.path() / "cache/vantrel/WebKitCache"));

  const pid_t second = startProgram(server, home.path().string(), recording);
  std::this_thread::sleep_for(std::chrono::seconds(8));  // the map shows its route by then
  const int brownPixels = pixelsOnScreen(brown);
  endProgram(second);
  EXPECT_EQ(server.requests().size(), requests.size());
  EXPECT_GT(brownPixels, 20000);  // the small map, covered with the cached tiles
}
