#pragma once
// An MBTiles file: raster map tiles in an SQLite database, read-only. The
// file's tiles table counts rows from the south (TMS); tile() takes the
// web maps' rows, counted from the north.
#include <optional>
#include <string>

struct sqlite3;
struct sqlite3_stmt;

namespace vantrel {

struct MBTilesInfo {
  std::string name;
  std::string format;       // "png", "jpg", "webp", or "" when not stated
  std::string attribution;  // as stored (may hold HTML)
  int minZoom = -1;         // -1: not stated
  int maxZoom = -1;
};

class MBTiles {
 public:
  MBTiles() = default;
  ~MBTiles();
  MBTiles(const MBTiles&) = delete;
  MBTiles& operator=(const MBTiles&) = delete;

  // Opens path read-only and checks that it holds raster tiles. Returns ""
  // or why it cannot be used (missing, not SQLite, no tiles table, vector
  // tiles); a failed open leaves the object closed.
  std::string open(const std::string& path);
  bool isOpen() const { return db_ != nullptr; }
  const MBTilesInfo& info() const { return info_; }

  // The image of tile (zoom, x, y) with y counted from the north, or
  // nothing when the file has no such tile (or cannot be read).
  std::optional<std::string> tile(int zoom, int x, int y);

 private:
  void close();
  void readMetadata();

  sqlite3* db_ = nullptr;
  sqlite3_stmt* tileQuery_ = nullptr;
  MBTilesInfo info_;
};

// The MIME type of a tile image by its first bytes: image/png, image/jpeg,
// image/webp, or "" for anything else.
std::string tileImageType(const std::string& bytes);

}  // namespace vantrel
