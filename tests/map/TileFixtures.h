#pragma once
// Map tiles made in the test: solid-colour PNG images and MBTiles files.
#include <sqlite3.h>
#include <wx/image.h>
#include <wx/mstream.h>

#include <string>
#include <utility>
#include <vector>

namespace testsupport {

inline std::string solidPng(unsigned char r, unsigned char g, unsigned char b) {
  if (!wxImage::FindHandler(wxBITMAP_TYPE_PNG)) wxImage::AddHandler(new wxPNGHandler);
  wxImage image(256, 256);
  image.SetRGB(wxRect(0, 0, 256, 256), r, g, b);
  wxMemoryOutputStream out;
  image.SaveFile(out, wxBITMAP_TYPE_PNG);
  std::string bytes(out.GetLength(), '\0');
  out.CopyTo(bytes.data(), bytes.size());
  return bytes;
}

struct StoredTile {
  int zoom, column, row;  // row as the file stores it, counted from the south
  std::string data;
};

// Writes an MBTiles file: the metadata table (name, value) and the tiles.
inline bool writeMBTiles(const std::string& path,
                         const std::vector<std::pair<std::string, std::string>>& metadata,
                         const std::vector<StoredTile>& tiles) {
  sqlite3* db = nullptr;
  if (sqlite3_open(path.c_str(), &db) != SQLITE_OK) return false;
  bool ok = sqlite3_exec(db,
                         "CREATE TABLE metadata (name TEXT, value TEXT);"
                         "CREATE TABLE tiles (zoom_level INTEGER, tile_column INTEGER, "
                         "tile_row INTEGER, tile_data BLOB);",
                         nullptr, nullptr, nullptr) == SQLITE_OK;
  sqlite3_stmt* insert = nullptr;
  ok = ok && sqlite3_prepare_v2(db, "INSERT INTO metadata VALUES (?, ?)", -1, &insert, nullptr) ==
                 SQLITE_OK;
  for (const auto& [name, value] : metadata) {
    sqlite3_bind_text(insert, 1, name.c_str(), -1, SQLITE_TRANSIENT);
    sqlite3_bind_text(insert, 2, value.c_str(), -1, SQLITE_TRANSIENT);
    ok = ok && sqlite3_step(insert) == SQLITE_DONE;
    sqlite3_reset(insert);
  }
  sqlite3_finalize(insert);
  ok = ok && sqlite3_prepare_v2(db, "INSERT INTO tiles VALUES (?, ?, ?, ?)", -1, &insert,
                                nullptr) == SQLITE_OK;
  for (const StoredTile& tile : tiles) {
    sqlite3_bind_int(insert, 1, tile.zoom);
    sqlite3_bind_int(insert, 2, tile.column);
    sqlite3_bind_int(insert, 3, tile.row);
    sqlite3_bind_blob(insert, 4, tile.data.data(), int(tile.data.size()), SQLITE_TRANSIENT);
    ok = ok && sqlite3_step(insert) == SQLITE_DONE;
    sqlite3_reset(insert);
  }
  sqlite3_finalize(insert);
  sqlite3_close(db);
  return ok;
}

}  // namespace testsupport
