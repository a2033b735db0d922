#include "store/sqlite_db.h"

#include <sqlite3.h>

#include <cstring>

namespace tk410 {

// ------------------------------------------------------------ SQLiteStatement

SQLiteStatement::~SQLiteStatement() { Finalize(); }

bool SQLiteStatement::Finalize() {
  if (!statement_) return true;
  if (sqlite3_finalize(statement_) != SQLITE_OK) {
    // sqlite3_finalize frees the statement even when it reports the error of
    // the last step; the result only repeats that error.
    statement_ = nullptr;
    done_ = 1;
    return false;
  }
  statement_ = nullptr;
  done_ = 1;
  return true;
}

int SQLiteStatement::BindInt(int index, int value) {
  if (!statement_) return kSqliteMisuse;
  return sqlite3_bind_int(statement_, index, value);
}

int SQLiteStatement::BindText(int index, const char* text, int length) {
  if (!statement_) return kSqliteMisuse;
  return sqlite3_bind_text(statement_, index, text, length, SQLITE_STATIC);
}

int SQLiteStatement::Step() {
  if (!statement_) return kSqliteMisuse;
  const int result = sqlite3_step(statement_);
  if (result == SQLITE_DONE) done_ = 1;
  return result;
}

int SQLiteStatement::ColumnInt(int column) const {
  if (!statement_) return 0;
  return sqlite3_column_int(statement_, column);
}

const char* SQLiteStatement::ColumnText(int column) const {
  if (!statement_) return nullptr;
  return reinterpret_cast<const char*>(sqlite3_column_text(statement_, column));
}

int SQLiteStatement::ColumnBytes(int column) const {
  if (!statement_) return 0;
  return sqlite3_column_bytes(statement_, column);
}

// ------------------------------------------------------------------- SQLiteDB

SQLiteDB::~SQLiteDB() {
  if (connection_) {
    sqlite3_interrupt(connection_);
    Close();
  }
}

bool SQLiteDB::Open(const char* path, int flags) {
  if (connection_) {
    sqlite3_interrupt(connection_);
    // A connection that cannot be closed is kept rather than leaked by
    // opening over its handle.
    if (!Close()) return false;
  }
  if (!path) return false;
  if (sqlite3_open_v2(path, &connection_, flags, nullptr) != SQLITE_OK) {
    if (connection_) sqlite3_close(connection_);
    connection_ = nullptr;
    return false;
  }
  UseWriteAheadLog();
  return true;
}

void SQLiteDB::UseWriteAheadLog() {
  // With a write-ahead log a commit is one append, made durable at the next
  // checkpoint; NORMAL then loses at most the last commits on a power cut and
  // never damages the file. Where the log cannot be used (a read-only file, a
  // file system without shared memory) the rollback journal stays, and only
  // FULL keeps that safe.
  bool wal = false;
  sqlite3_stmt* mode = nullptr;
  if (sqlite3_prepare_v2(connection_, "PRAGMA journal_mode = WAL", -1, &mode, nullptr) == SQLITE_OK &&
      sqlite3_step(mode) == SQLITE_ROW) {
    const unsigned char* name = sqlite3_column_text(mode, 0);
    wal = name && std::strcmp(reinterpret_cast<const char*>(name), "wal") == 0;
  }
  sqlite3_finalize(mode);
  sqlite3_exec(connection_, wal ? "PRAGMA synchronous = NORMAL" : "PRAGMA synchronous = FULL",
               nullptr, nullptr, nullptr);
}

bool SQLiteDB::Close() {
  if (!connection_) return true;
  if (sqlite3_close(connection_) != SQLITE_OK) return false;
  connection_ = nullptr;
  return true;
}

int SQLiteDB::Prepare(SQLiteStatement& statement, const char* sql, int length) {
  statement.Finalize();
  if (!connection_ || !sql) return kSqliteMisuse;
  if (length < 0) length = static_cast<int>(std::strlen(sql)) + 1;
  return sqlite3_prepare_v2(connection_, sql, length, &statement.statement_, nullptr);
}

int SQLiteDB::Exec(const char* sql, int (*callback)(void*, int, char**, char**), void* argument) {
  if (!connection_ || !sql) return kSqliteMisuse;
  return sqlite3_exec(connection_, sql, callback, argument, nullptr);
}

int64_t SQLiteDB::LastInsertRowId() const {
  if (!connection_) return -1;
  return sqlite3_last_insert_rowid(connection_);
}

bool SQLiteDB::InTransaction() const {
  return connection_ && sqlite3_get_autocommit(connection_) == 0;
}

// ------------------------------------------------------- SQLiteAutoTransaction

SQLiteAutoTransaction::SQLiteAutoTransaction(SQLiteDB* database) : database_(database) {
  if (!database_) return;
  if (database_->IsOpen()) database_->Exec("BEGIN");
  active_ = true;
}

SQLiteAutoTransaction::~SQLiteAutoTransaction() {
  if (active_ && database_) {
    if (database_->IsOpen()) database_->Exec("END");
    active_ = false;
  }
}

bool SQLiteAutoTransaction::Begin() {
  if (!database_ || active_) return false;
  active_ = true;
  if (!database_->IsOpen()) return false;
  return database_->Exec("BEGIN") == SQLITE_OK;
}

bool SQLiteAutoTransaction::End() {
  if (!database_) return false;
  active_ = false;
  if (!database_->IsOpen()) return false;
  return database_->Exec("END") == SQLITE_OK;
}

bool SQLiteAutoTransaction::Rollback() {
  if (!database_) return false;
  active_ = false;
  if (!database_->IsOpen()) return false;
  return database_->Exec("ROLLBACK") == SQLITE_OK;
}

}  // namespace tk410
