#pragma once
// The library index in an SQLite file (or in memory), with an R*Tree of the
// boxes around each piece of every track for "which clips pass here". Safe to
// use from several threads: one connection, one lock.
#include <sqlite3.h>

#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <unordered_map>

#include "library/LibraryIndex.h"
#include "library/SqliteStatement.h"

namespace vantrel {

class SqliteLibraryIndex : public LibraryIndex {
 public:
  // Opens (or makes) the index at path, ":memory:" for one that lasts as
  // long as this object. nullptr with code (an SQLite result) and reason when
  // it cannot be used.
  static std::unique_ptr<SqliteLibraryIndex> open(const std::string& path, int& code,
                                                  std::string& reason);
  // Whether code says the file is no database or a damaged one.
  static bool isDamage(int code);
  // Renames a damaged index to path + ".damaged" (replacing an older one) and
  // removes its journal files; false when it cannot.
  static bool setAside(const std::string& path);
  ~SqliteLibraryIndex() override;

  std::optional<ClipRecord> find(const ClipKey& key) override;
  bool store(const ClipRecord& clip) override;
  void forgetOthers(const std::string& folder, const std::vector<std::string>& keep) override;
  void flush() override;
  std::vector<PlaceHit> recordingsNear(double latitude, double longitude, double radiusMetres,
                                       const std::string& folder) override;
  std::string where() const override;
  std::string note() const override;

 private:
  SqliteLibraryIndex(sqlite3* db, std::string path) : db_(db), path_(std::move(path)) {}
  // A statement found the file damaged: it is set aside and a new one made
  // (one in memory when that fails). Returns code unchanged.
  int checkLocked(int code);
  bool beginLocked();
  // SQLITE_OK, or the code of the statement that failed.
  int storeLocked(const ClipRecord& clip);
  void deletePiecesLocked(int64_t clipId, int64_t pieces);
  // A write failed: the batch is lost, the next store starts a new one.
  void abandonBatchLocked();
  // The statement of sql on this connection, prepared on its first use (a
  // scan runs the same few for every clip).
  CachedStatement statementLocked(std::string_view sql);

  mutable std::mutex lock_;
  sqlite3* db_;           // guarded by lock_
  bool inBatch_ = false;  // a transaction is open; guarded by lock_
  const std::string path_;
  bool inMemory_ = false;  // the file could not be made anew; guarded by lock_
  std::string note_;       // guarded by lock_
  // Prepared statements of db_, by their text; guarded by lock_.
  std::unordered_map<std::string_view, std::shared_ptr<SqliteStatement>> statements_;
};

}  // namespace vantrel
