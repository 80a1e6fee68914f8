#pragma once
// One prepared SQLite statement, finalised when it goes out of scope.
#include <sqlite3.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace vantrel {

class SqliteStatement {
 public:
  SqliteStatement(sqlite3* db, const char* sql);
  ~SqliteStatement() { sqlite3_finalize(statement_); }
  SqliteStatement(const SqliteStatement&) = delete;
  SqliteStatement& operator=(const SqliteStatement&) = delete;

  // The result of preparing: SQLITE_OK or the error.
  int prepared() const { return prepared_; }
  SqliteStatement& bind(int index, int64_t value);
  SqliteStatement& bind(int index, double value);
  SqliteStatement& bind(int index, std::string_view text);
  SqliteStatement& bindBlob(int index, std::string_view bytes);
  SqliteStatement& bindNull(int index);
  // SQLITE_ROW, SQLITE_DONE or the error (the prepare error when it failed).
  int step();
  void reset() { sqlite3_reset(statement_); }

  int64_t integer(int column) const { return sqlite3_column_int64(statement_, column); }
  double real(int column) const { return sqlite3_column_double(statement_, column); }
  std::string text(int column) const;
  std::string_view blob(int column) const;
  bool isNull(int column) const { return sqlite3_column_type(statement_, column) == SQLITE_NULL; }

 private:
  sqlite3_stmt* statement_ = nullptr;
  int prepared_ = SQLITE_OK;
};

// A statement kept for reuse, lent out for one use: reset when the use ends.
// Holding it keeps the statement alive even when its keeper drops it.
class CachedStatement {
 public:
  explicit CachedStatement(std::shared_ptr<SqliteStatement> statement)
      : statement_(std::move(statement)) {}
  ~CachedStatement() { statement_->reset(); }
  CachedStatement(const CachedStatement&) = delete;
  CachedStatement& operator=(const CachedStatement&) = delete;
  SqliteStatement* operator->() const { return statement_.get(); }
  SqliteStatement& operator*() const { return *statement_; }

 private:
  std::shared_ptr<SqliteStatement> statement_;
};

// Runs sql (several statements allowed); SQLITE_OK or the error.
int sqliteExec(sqlite3* db, const char* sql);

}  // namespace vantrel
