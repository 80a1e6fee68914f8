#include "library/SqliteLibraryIndex.h"

#include <algorithm>
#include <filesystem>
#include <set>
#include <unordered_set>

#include "library/ClipPoints.h"
#include "library/PlacePasses.h"
#include "library/SqliteStatement.h"

namespace vantrel {

namespace {

// Bumped whenever the tables change: an index of another version is rebuilt.
constexpr int64_t kSchemaVersion = 1;
// The R*Tree id of a piece: its clip's id above these bits, its number below.
constexpr int kPieceBits = 24;

constexpr const char* kSchema = R"sql(
DROP TABLE IF EXISTS clips;
DROP TABLE IF EXISTS places;
CREATE TABLE clips(
  id INTEGER PRIMARY KEY,
  path TEXT NOT NULL UNIQUE,
  folder TEXT NOT NULL,
  size INTEGER NOT NULL,
  mtime_ns INTEGER NOT NULL,
  readable INTEGER NOT NULL,
  reason TEXT NOT NULL,
  duration_ms INTEGER NOT NULL,
  track_source TEXT NOT NULL,
  utc_start_ms INTEGER,
  pieces INTEGER NOT NULL,
  points BLOB NOT NULL);
CREATE INDEX clips_folder ON clips(folder);
CREATE VIRTUAL TABLE places USING rtree(id, min_lat, max_lat, min_lon, max_lon);
)sql";

int64_t schemaVersion(sqlite3* db, int& code) {
  SqliteStatement query(db, "PRAGMA user_version");
  code = query.step();
  if (code != SQLITE_ROW) return -1;
  code = SQLITE_OK;
  return query.integer(0);
}

// Makes the tables when the file is new or of another version, and takes
// the write lock once, so a locked or read-only file is found out here.
int prepareSchema(sqlite3* db) {
  int code = SQLITE_OK;
  const int64_t version = schemaVersion(db, code);
  if (code != SQLITE_OK) return code;
  if ((code = sqliteExec(db, "BEGIN IMMEDIATE")) != SQLITE_OK) return code;
  if (version != kSchemaVersion) {
    code = sqliteExec(db, kSchema);
    if (code == SQLITE_OK) {
      code = sqliteExec(db, ("PRAGMA user_version = " + std::to_string(kSchemaVersion)).c_str());
    }
    if (code != SQLITE_OK) {
      sqliteExec(db, "ROLLBACK");
      return code;
    }
  }
  return sqliteExec(db, "COMMIT");
}

ClipRecord recordOfRow(const SqliteStatement& row, const ClipKey& key) {
  ClipRecord record;
  record.key = key;
  record.readable = row.integer(0) != 0;
  record.reason = row.text(1);
  record.durationMs = row.integer(2);
  record.trackSource = row.text(3);
  if (!row.isNull(4)) record.utcStartMs = row.integer(4);
  return record;
}

}  // namespace

std::string folderOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos) return "";
  return slash == 0 ? "/" : path.substr(0, slash);
}

namespace {

int openDatabase(const std::string& path, sqlite3*& db, std::string& reason) {
  db = nullptr;
  int code =
      sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
  if (code == SQLITE_OK) {
    // Another program holding the file: wait briefly, never hang.
    sqlite3_busy_timeout(db, 250);
    sqliteExec(db, "PRAGMA journal_mode = WAL");
    sqliteExec(db, "PRAGMA synchronous = NORMAL");
    code = prepareSchema(db);
  }
  if (code != SQLITE_OK) {
    reason = db ? sqlite3_errmsg(db) : sqlite3_errstr(code);
    sqlite3_close(db);
    db = nullptr;
  }
  return code;
}

}  // namespace

std::unique_ptr<SqliteLibraryIndex> SqliteLibraryIndex::open(const std::string& path, int& code,
                                                             std::string& reason) {
  sqlite3* db = nullptr;
  code = openDatabase(path, db, reason);
  if (code != SQLITE_OK) return nullptr;
  return std::unique_ptr<SqliteLibraryIndex>(new SqliteLibraryIndex(db, path));
}

bool SqliteLibraryIndex::isDamage(int code) {
  return (code & 0xff) == SQLITE_CORRUPT || (code & 0xff) == SQLITE_NOTADB;
}

bool SqliteLibraryIndex::setAside(const std::string& path) {
  std::error_code error;
  std::filesystem::rename(path, path + ".damaged", error);
  if (error) return false;
  for (const char* journal : {"-wal", "-shm", "-journal"})
    std::filesystem::remove(path + journal, error);
  return true;
}

int SqliteLibraryIndex::checkLocked(int code) {
  if (!isDamage(code) || inMemory_ || path_ == ":memory:") return code;
  if (inBatch_) sqliteExec(db_, "ROLLBACK");
  inBatch_ = false;
  // Statements of the caller may still be open: the connection goes with them.
  statements_.clear();
  sqlite3_close_v2(db_);
  std::string reason;
  if (setAside(path_) && openDatabase(path_, db_, reason) == SQLITE_OK) {
    note_ = "The library index was damaged: it was set aside as " + path_ +
            ".damaged and is built anew.";
    return code;
  }
  openDatabase(":memory:", db_, reason);
  inMemory_ = true;
  note_ = "The library index " + path_ +
          " is damaged and cannot be made anew: this session "
          "keeps its index in memory.";
  return code;
}

std::string SqliteLibraryIndex::where() const {
  std::lock_guard<std::mutex> hold(lock_);
  return (inMemory_ || path_ == ":memory:") ? "memory" : path_;
}

std::string SqliteLibraryIndex::note() const {
  std::lock_guard<std::mutex> hold(lock_);
  return note_;
}

SqliteLibraryIndex::~SqliteLibraryIndex() {
  flush();
  statements_.clear();  // a connection with statements left does not close
  sqlite3_close(db_);
}

std::optional<ClipRecord> SqliteLibraryIndex::find(const ClipKey& key) {
  std::lock_guard<std::mutex> hold(lock_);
  const CachedStatement use = statementLocked(
      "SELECT readable, reason, duration_ms, track_source, utc_start_ms, points, "
      "size, mtime_ns FROM clips WHERE path = ?");
  SqliteStatement& row = *use;
  row.bind(1, key.path);
  if (checkLocked(row.step()) != SQLITE_ROW || row.integer(6) != key.size ||
      row.integer(7) != key.mtimeNs) {
    return std::nullopt;
  }
  ClipRecord record = recordOfRow(row, key);
  std::optional<std::vector<ClipPoint>> points = decodeClipPoints(row.blob(5));
  if (!points) return std::nullopt;  // a torn record is read again
  record.points = std::move(*points);
  return record;
}

bool SqliteLibraryIndex::beginLocked() {
  if (inBatch_) return true;
  inBatch_ = sqliteExec(db_, "BEGIN IMMEDIATE") == SQLITE_OK;
  return inBatch_;
}

void SqliteLibraryIndex::abandonBatchLocked() {
  if (inBatch_) sqliteExec(db_, "ROLLBACK");
  inBatch_ = false;
}

CachedStatement SqliteLibraryIndex::statementLocked(std::string_view sql) {
  std::shared_ptr<SqliteStatement>& kept = statements_[sql];
  if (!kept || kept->prepared() != SQLITE_OK)
    kept = std::make_shared<SqliteStatement>(db_, std::string(sql).c_str());
  return CachedStatement(kept);
}

void SqliteLibraryIndex::deletePiecesLocked(int64_t clipId, int64_t pieces) {
  const CachedStatement remove = statementLocked("DELETE FROM places WHERE id = ?");
  for (int64_t k = 0; k < pieces; ++k) {
    remove->bind(1, (clipId << kPieceBits) | k).step();
    remove->reset();
  }
}

int SqliteLibraryIndex::storeLocked(const ClipRecord& clip) {
  int code = SQLITE_OK;
  {
    const CachedStatement existing = statementLocked("SELECT id, pieces FROM clips WHERE path = ?");
    existing->bind(1, clip.key.path);
    code = existing->step();
    if (code == SQLITE_ROW) {
      deletePiecesLocked(existing->integer(0), existing->integer(1));
      const CachedStatement remove = statementLocked("DELETE FROM clips WHERE id = ?");
      if ((code = remove->bind(1, existing->integer(0)).step()) != SQLITE_DONE) return code;
    } else if (code != SQLITE_DONE) {
      return code;
    }
  }
  const std::vector<TrackPiece> pieces = trackPieces(clip.points);
  const CachedStatement use = statementLocked(
      "INSERT INTO clips(path, folder, size, mtime_ns, readable, reason, "
      "duration_ms, track_source, utc_start_ms, pieces, points) "
      "VALUES(?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
  SqliteStatement& insert = *use;
  insert.bind(1, clip.key.path).bind(2, folderOf(clip.key.path)).bind(3, clip.key.size);
  insert.bind(4, clip.key.mtimeNs).bind(5, int64_t{clip.readable}).bind(6, clip.reason);
  insert.bind(7, clip.durationMs).bind(8, clip.trackSource);
  if (clip.utcStartMs) {
    insert.bind(9, *clip.utcStartMs);
  } else {
    insert.bindNull(9);
  }
  insert.bind(10, static_cast<int64_t>(pieces.size())).bindBlob(11, encodeClipPoints(clip.points));
  if ((code = insert.step()) != SQLITE_DONE) return code;
  const int64_t id = sqlite3_last_insert_rowid(db_);
  const CachedStatement place = statementLocked("INSERT INTO places VALUES(?, ?, ?, ?, ?)");
  for (size_t k = 0; k < pieces.size(); ++k) {
    const PlaceBox& box = pieces[k].box;
    place->bind(1, (id << kPieceBits) | static_cast<int64_t>(k)).bind(2, box.minLatitude);
    place->bind(3, box.maxLatitude).bind(4, box.minLongitude).bind(5, box.maxLongitude);
    if ((code = place->step()) != SQLITE_DONE) return code;
    place->reset();
  }
  return SQLITE_OK;
}

bool SqliteLibraryIndex::store(const ClipRecord& clip) {
  std::lock_guard<std::mutex> hold(lock_);
  if (!beginLocked()) return false;
  statementLocked("SAVEPOINT clip")->step();
  const int code = storeLocked(clip);
  if (code == SQLITE_OK) {
    statementLocked("RELEASE clip")->step();
    return true;
  }
  if (isDamage(code)) {
    checkLocked(code);
    return false;
  }
  // Only this clip's changes go; the batch keeps the others.
  if (sqliteExec(db_, "ROLLBACK TO clip") == SQLITE_OK) {
    sqliteExec(db_, "RELEASE clip");
  } else {
    abandonBatchLocked();
  }
  return false;
}

void SqliteLibraryIndex::forgetOthers(const std::string& folder,
                                      const std::vector<std::string>& keep) {
  std::lock_guard<std::mutex> hold(lock_);
  const std::unordered_set<std::string> kept(keep.begin(), keep.end());
  SqliteStatement listed(db_, "SELECT id, path, pieces FROM clips WHERE folder = ?");
  listed.bind(1, folder);
  std::vector<std::pair<int64_t, int64_t>> gone;
  while (listed.step() == SQLITE_ROW) {
    if (!kept.count(listed.text(1))) gone.emplace_back(listed.integer(0), listed.integer(2));
  }
  if (gone.empty() || !beginLocked()) return;
  SqliteStatement remove(db_, "DELETE FROM clips WHERE id = ?");
  for (const auto& [id, pieces] : gone) {
    deletePiecesLocked(id, pieces);
    remove.bind(1, id).step();
    remove.reset();
  }
}

void SqliteLibraryIndex::flush() {
  std::lock_guard<std::mutex> hold(lock_);
  if (!inBatch_) return;
  if (sqliteExec(db_, "COMMIT") != SQLITE_OK) sqliteExec(db_, "ROLLBACK");
  inBatch_ = false;
}

std::vector<PlaceHit> SqliteLibraryIndex::recordingsNear(double latitude, double longitude,
                                                         double radiusMetres,
                                                         const std::string& folder) {
  std::lock_guard<std::mutex> hold(lock_);
  const PlaceBox box = boxAround(latitude, longitude, radiusMetres);
  SqliteStatement pieces(db_,
                         "SELECT id FROM places WHERE max_lat >= ? AND min_lat <= ? "
                         "AND max_lon >= ? AND min_lon <= ?");
  pieces.bind(1, box.minLatitude).bind(2, box.maxLatitude);
  pieces.bind(3, box.minLongitude).bind(4, box.maxLongitude);
  std::set<int64_t> clipIds;
  while (pieces.step() == SQLITE_ROW) clipIds.insert(pieces.integer(0) >> kPieceBits);

  std::vector<PlaceHit> hits;
  SqliteStatement clip(db_, "SELECT path, folder, points FROM clips WHERE id = ?");
  for (int64_t id : clipIds) {
    clip.bind(1, id);
    if (clip.step() == SQLITE_ROW && (folder.empty() || clip.text(1) == folder)) {
      if (std::optional<std::vector<ClipPoint>> points = decodeClipPoints(clip.blob(2))) {
        for (const PlacePass& pass : passesNear(*points, latitude, longitude, radiusMetres)) {
          hits.push_back({clip.text(0), pass.offsetMs, pass.distanceMetres});
        }
      }
    }
    clip.reset();
  }
  std::sort(hits.begin(), hits.end(), [](const PlaceHit& a, const PlaceHit& b) {
    return a.distanceMetres != b.distanceMetres ? a.distanceMetres < b.distanceMetres
                                                : a.path < b.path;
  });
  return hits;
}

}  // namespace vantrel
