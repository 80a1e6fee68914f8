#include "map/MBTiles.h"

#include <sqlite3.h>

#include <cstdlib>

namespace vantrel {

namespace {

std::string columnText(sqlite3_stmt* statement, int column) {
  const auto* text = sqlite3_column_text(statement, column);
  return text ? reinterpret_cast<const char*>(text) : "";
}

int zoomValue(const std::string& text) {
  char* end = nullptr;
  const long value = std::strtol(text.c_str(), &end, 10);
  return (end != text.c_str() && *end == '\0' && value >= 0 && value <= 30) ? int(value) : -1;
}

}  // namespace

MBTiles::~MBTiles() {
  close();
}

void MBTiles::close() {
  sqlite3_finalize(tileQuery_);
  tileQuery_ = nullptr;
  sqlite3_close(db_);
  db_ = nullptr;
  info_ = {};
}

std::string MBTiles::open(const std::string& path) {
  close();
  if (sqlite3_open_v2(path.c_str(), &db_, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
    std::string reason = db_ ? sqlite3_errmsg(db_) : "out of memory";
    close();
    return reason;
  }
  sqlite3_busy_timeout(db_, 200);  // another program writing it: wait briefly, never hang
  // Preparing the query reads the schema: a file that is not SQLite, or one
  // without a tiles table, fails here.
  if (sqlite3_prepare_v2(db_,
                         "SELECT tile_data FROM tiles WHERE zoom_level = ? AND tile_column = ? "
                         "AND tile_row = ?",
                         -1, &tileQuery_, nullptr) != SQLITE_OK) {
    std::string reason = sqlite3_errmsg(db_);
    close();
    return reason;
  }
  readMetadata();
  if (info_.format == "pbf") {
    close();
    return "it holds vector tiles, which the map cannot draw";
  }
  return "";
}

void MBTiles::readMetadata() {
  sqlite3_stmt* query = nullptr;
  if (sqlite3_prepare_v2(db_, "SELECT name, value FROM metadata", -1, &query, nullptr) !=
      SQLITE_OK) {
    return;  // the metadata table is optional in practice
  }
  while (sqlite3_step(query) == SQLITE_ROW) {
    const std::string name = columnText(query, 0), value = columnText(query, 1);
    if (name == "name") info_.name = value;
    if (name == "format") info_.format = value;
    if (name == "attribution") info_.attribution = value;
    if (name == "minzoom") info_.minZoom = zoomValue(value);
    if (name == "maxzoom") info_.maxZoom = zoomValue(value);
  }
  sqlite3_finalize(query);
}

std::optional<std::string> MBTiles::tile(int zoom, int x, int y) {
  if (!tileQuery_ || zoom < 0 || zoom > 30) return std::nullopt;
  const long long rows = 1LL << zoom;
  if (x < 0 || y < 0 || x >= rows || y >= rows) return std::nullopt;
  sqlite3_reset(tileQuery_);
  sqlite3_bind_int(tileQuery_, 1, zoom);
  sqlite3_bind_int(tileQuery_, 2, x);
  sqlite3_bind_int64(tileQuery_, 3, rows - 1 - y);
  std::optional<std::string> data;
  if (sqlite3_step(tileQuery_) == SQLITE_ROW) {
    const void* blob = sqlite3_column_blob(tileQuery_, 0);
    const int size = sqlite3_column_bytes(tileQuery_, 0);
    if (blob && size > 0) data.emplace(static_cast<const char*>(blob), size_t(size));
  }
  sqlite3_reset(tileQuery_);
  return data;
}

std::string tileImageType(const std::string& bytes) {
  if (bytes.rfind("\x89PNG\r\n\x1a\n", 0) == 0) return "image/png";
  if (bytes.rfind("\xff\xd8\xff", 0) == 0) return "image/jpeg";
  if (bytes.size() >= 12 && bytes.rfind("RIFF", 0) == 0 && bytes.compare(8, 4, "WEBP") == 0) {
    return "image/webp";
  }
  return "";
}

}  // namespace vantrel
