#include "library/SqliteStatement.h"

namespace vantrel {

SqliteStatement::SqliteStatement(sqlite3* db, const char* sql) {
  prepared_ = sqlite3_prepare_v2(db, sql, -1, &statement_, nullptr);
}

SqliteStatement& SqliteStatement::bind(int index, int64_t value) {
  sqlite3_bind_int64(statement_, index, value);
  return *this;
}

SqliteStatement& SqliteStatement::bind(int index, double value) {
  sqlite3_bind_double(statement_, index, value);
  return *this;
}

SqliteStatement& SqliteStatement::bind(int index, std::string_view text) {
  sqlite3_bind_text(statement_, index, text.data(), static_cast<int>(text.size()),
                    SQLITE_TRANSIENT);
  return *this;
}

SqliteStatement& SqliteStatement::bindBlob(int index, std::string_view bytes) {
  sqlite3_bind_blob(statement_, index, bytes.data(), static_cast<int>(bytes.size()),
                    SQLITE_TRANSIENT);
  return *this;
}

SqliteStatement& SqliteStatement::bindNull(int index) {
  sqlite3_bind_null(statement_, index);
  return *this;
}

int SqliteStatement::step() {
  if (prepared_ != SQLITE_OK) return prepared_;
  return sqlite3_step(statement_);
}

std::string SqliteStatement::text(int column) const {
  const auto* bytes = sqlite3_column_text(statement_, column);
  return bytes ? std::string(reinterpret_cast<const char*>(bytes),
                             static_cast<size_t>(sqlite3_column_bytes(statement_, column)))
               : std::string();
}

std::string_view SqliteStatement::blob(int column) const {
  const void* bytes = sqlite3_column_blob(statement_, column);
  const int size = sqlite3_column_bytes(statement_, column);
  return bytes ? std::string_view(static_cast<const char*>(bytes), static_cast<size_t>(size))
               : std::string_view();
}

int sqliteExec(sqlite3* db, const char* sql) {
  return sqlite3_exec(db, sql, nullptr, nullptr, nullptr);
}

}  // namespace vantrel
