#include <gtest/gtest.h>

#include "app/TempFolder.h"
#include "map/MBTiles.h"
#include "map/MBTilesScheme.h"
#include "map/MapCache.h"
#include "map/MapPages.h"
#include "map/TileFixtures.h"
#include "map/TileSource.h"

using namespace vantrel;
using testsupport::TempFolder;

namespace {

// An MBTiles file with two zoom levels and a red tile at (1, 0, 0).
std::string smallMBTiles(const TempFolder& folder, const std::string& format = "png") {
  const std::string path = (folder.path() / "map one.mbtiles").string();
  testsupport::writeMBTiles(
      path,
      {{"name", "Test area"},
       {"format", format},
       {"minzoom", "0"},
       {"maxzoom", "1"},
       {"attribution", "<a href=\"https://x.example\">&copy; Map &amp; Co</a>"}},
      {{0, 0, 0, testsupport::solidPng(0, 0, 255)},
       // row 1 of 2 from the south is the northern row 0
       {1, 0, 1, testsupport::solidPng(255, 0, 0)}});
  return path;
}

}  // namespace

TEST(MBTilesFile, ReadsTilesWithRowsFromTheNorthAndItsMetadata) {
  TempFolder folder;
  MBTiles file;
  ASSERT_EQ(file.open(smallMBTiles(folder)), "");
  EXPECT_EQ(file.info().name, "Test area");
  EXPECT_EQ(file.info().minZoom, 0);
  EXPECT_EQ(file.info().maxZoom, 1);
  EXPECT_EQ(file.tile(1, 0, 0), testsupport::solidPng(255, 0, 0));
  EXPECT_EQ(file.tile(0, 0, 0), testsupport::solidPng(0, 0, 255));
  EXPECT_FALSE(file.tile(1, 0, 1));  // not in the file
  EXPECT_FALSE(file.tile(1, 2, 0));  // outside the zoom's grid
  EXPECT_FALSE(file.tile(-1, 0, 0));
  EXPECT_FALSE(file.tile(31, 0, 0));
  EXPECT_EQ(tileImageType(*file.tile(1, 0, 0)), "image/png");
}

TEST(MBTilesFile, FilesThatCannotServeSayWhy) {
  TempFolder folder;
  const std::string noTiles = (folder.path() / "empty.mbtiles").string();
  testsupport::writeMBTiles(noTiles, {}, {});
  sqlite3* db = nullptr;
  sqlite3_open(noTiles.c_str(), &db);
  sqlite3_exec(db, "DROP TABLE tiles", nullptr, nullptr, nullptr);
  sqlite3_close(db);
  const std::string vector = (folder.path() / "vector.mbtiles").string();
  testsupport::writeMBTiles(vector, {{"format", "pbf"}}, {});
  struct Case {
    std::string path, reason;
  } cases[] = {
      {(folder.path() / "missing.mbtiles").string(), "unable to open"},
      {folder.write("text.mbtiles", "not a database at all, just text\n").string(),
       "not a database"},
      {folder.write("zero.mbtiles").string(), "no such table"},
      {noTiles, "no such table: tiles"},
      {vector, "vector tiles"},
  };
  for (const Case& c : cases) {
    MBTiles file;
    const std::string error = file.open(c.path);
    EXPECT_NE(error.find(c.reason), std::string::npos) << c.path << ": " << error;
    EXPECT_FALSE(file.isOpen());
    EXPECT_FALSE(file.tile(0, 0, 0));
  }
}

TEST(MBTilesFile, ImageTypesComeFromTheBytes) {
  EXPECT_EQ(tileImageType("\xff\xd8\xff\xe0 jfif"), "image/jpeg");
  EXPECT_EQ(tileImageType(std::string("RIFF\0\0\0\0WEBPVP8 ", 16)), "image/webp");
  EXPECT_EQ(tileImageType("GIF89a"), "");
  EXPECT_EQ(tileImageType(""), "");
}

TEST(MBTilesScheme, AddressesCarryTheTileAndTheFile) {
  const std::string path = "/home/ann/Karten/Bayern & Tirol #2.mbtiles";
  std::string uri = mbtilesUrlTemplate(path);
  uri.replace(uri.find("{z}"), 3, "12").replace(uri.find("{x}"), 3, "2200");
  uri.replace(uri.find("{y}"), 3, "1433");
  const auto request = parseMBTilesUri(uri);
  ASSERT_TRUE(request);
  EXPECT_EQ(request->path, path);
  EXPECT_EQ(request->zoom, 12);
  EXPECT_EQ(request->x, 2200);
  EXPECT_EQ(request->y, 1433);
  for (const char* bad :
       {"vantrel-mbtiles://tiles/1/2?file=%2Fa", "vantrel-mbtiles://tiles/1/2/x?file=%2Fa",
        "vantrel-mbtiles://tiles/1/2/3?file=", "vantrel-mbtiles://tiles/1/2/3",
        "vantrel-mbtiles://other/1/2/3?file=%2Fa", "http://tiles/1/2/3?file=%2Fa",
        "vantrel-mbtiles://tiles//2/3?file=%2Fa"}) {
    EXPECT_FALSE(parseMBTilesUri(bad)) << bad;
  }
}

TEST(MapPages, AddressesArePercentEncodedWithTheTileSource) {
  EXPECT_EQ(mapPageUrl("/opt/vantrel/", kSmallMapPage, TileSource{}),
            "file:///opt/vantrel/res/Google-earth.html?tiles=none");
  TileSource server{"https://t.example/{z}/{x}/{y}.png?k={key}&s=2", "k 1", "© T & Co", 3, 14};
  EXPECT_EQ(mapPageUrl("/home/a b/#x%/", kBigMapPage, server),
            "file:///home/a%20b/%23x%25/res/Google-earth-big.html?tiles="
            "https%3A%2F%2Ft.example%2F%7Bz%7D%2F%7Bx%7D%2F%7By%7D.png%3Fk%3D%7Bkey%7D%26s%3D2"
            "&key=k%201&attribution=%C2%A9%20T%20%26%20Co&minzoom=3&maxzoom=14");
  EXPECT_EQ(percentDecode("a%20b%2fc%zz%4"), "a b/c%zz%4");
  EXPECT_EQ(percentDecode(percentEncode("ä ?&=%", "")), "ä ?&=%");
}

TEST(TileSourceChoice, TheEnvironmentWinsThenTheSettings) {
  TempFolder folder;
  const std::string mbtiles = smallMBTiles(folder);
  const std::string server = "https://t.example/{z}/{x}/{-y}.png?key={key}";
  struct Case {
    const char* environment;
    std::string setting, key;
    std::string url, usedKey, attribution, note;
    int minZoom, maxZoom;
  };
  const Case cases[] = {
      {nullptr, "", "", kDefaultTiles, "", kDefaultAttribution, "", -1, -1},
      {"none", server, "k", "", "", "", "", -1, -1},
      {nullptr, "none", "", "", "", "", "", -1, -1},
      {nullptr, server, "k", server, "k", "", "", -1, -1},
      {server.c_str(), "", "k", server, "", "", "", -1, -1},  // the settings' key is theirs
      {nullptr, "https://t.example/tiles.png", "", "", "", "", "is no URL template", -1, -1},
      {nullptr, mbtiles, "", mbtilesUrlTemplate(mbtiles), "", "© Map & Co", "", 0, 1},
      {nullptr, folder.write("bad.mbtiles", "junk").string(), "", "", "", "",
       "Cannot use the offline map", -1, -1},
  };
  for (const Case& c : cases) {
    const TileChoice choice = chooseTileSource(c.environment, c.setting, c.key);
    const std::string label = std::string(c.environment ? c.environment : "-") + " / " + c.setting;
    EXPECT_EQ(choice.source.url, c.url) << label;
    EXPECT_EQ(choice.source.key, c.usedKey) << label;
    EXPECT_EQ(choice.source.attribution, c.attribution) << label;
    EXPECT_EQ(choice.source.minNativeZoom, c.minZoom) << label;
    EXPECT_EQ(choice.source.maxNativeZoom, c.maxZoom) << label;
    if (c.note.empty()) {
      EXPECT_EQ(choice.note, "") << label;
    } else {
      EXPECT_NE(choice.note.find(c.note), std::string::npos) << label << ": " << choice.note;
    }
  }
}

TEST(TileSourceChoice, AttributionsLoseTheirTags) {
  EXPECT_EQ(plainText("<a href=\"x\">&copy; OpenMapTiles</a> <b>&lt;OSM&gt;</b>"),
            "© OpenMapTiles <OSM>");
  EXPECT_EQ(plainText("Tom & Jerry &unknown;"), "Tom & Jerry &unknown;");
  EXPECT_EQ(plainText("<unclosed"), "");
}

TEST(MapCache, EmptiedOnlyAboveItsLimit) {
  TempFolder folder;
  const auto cache = folder.path() / "WebKitCache";
  folder.write("WebKitCache/Version 17/Records/a", std::string(600, 'a'));
  folder.write("WebKitCache/Version 17/Blobs/b", std::string(500, 'b'));
  EXPECT_FALSE(limitMapCache(cache.string(), 1100));
  EXPECT_TRUE(std::filesystem::exists(cache / "Version 17/Blobs/b"));
  EXPECT_TRUE(limitMapCache(cache.string(), 1099));
  EXPECT_FALSE(std::filesystem::exists(cache));
  EXPECT_FALSE(limitMapCache(cache.string(), 0));  // nothing there: nothing to do
}
