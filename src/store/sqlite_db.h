#pragma once
// Thin wrappers over the SQLite C interface. Every operation reports the
// SQLite result code (or a bool where noted); an operation whose connection or
// statement handle is missing returns 21 (SQLITE_MISUSE) instead of touching
// SQLite.

#include <cstdint>

struct sqlite3;
struct sqlite3_stmt;

namespace tk410 {

constexpr int kSqliteCorrupt = 11;
constexpr int kSqliteMisuse = 21;
constexpr int kSqliteNotADatabase = 26;
constexpr int kSqliteRow = 100;
constexpr int kSqliteDone = 101;

// Flags of Open: an existing file, or creating it when missing. Both open the
// connection in serialized mode (SQLITE_OPEN_FULLMUTEX).
constexpr int kOpenExisting = 0x10002;
constexpr int kOpenCreate = 0x10006;
// Read-only, the path being a "file:" URI (SQLITE_OPEN_READONLY,
// SQLITE_OPEN_URI, SQLITE_OPEN_FULLMUTEX).
constexpr int kOpenImmutable = 0x10041;

// Success rule of a statement run for its effect: the final step returned
// SQLITE_OK, SQLITE_ROW or SQLITE_DONE.
inline bool StepSucceeded(int result) {
  return result == 0 || result == kSqliteRow || result == kSqliteDone;
}

class SQLiteDB;

// One compiled statement. The object is reused for several SQL texts in a row:
// each SQLiteDB::Prepare into it finalises what it held before.
class SQLiteStatement {
 public:
  SQLiteStatement() = default;
  virtual ~SQLiteStatement();
  SQLiteStatement(const SQLiteStatement&) = delete;
  SQLiteStatement& operator=(const SQLiteStatement&) = delete;

  // sqlite3_bind_int; parameters count from 1.
  int BindInt(int index, int value);
  // sqlite3_bind_text with SQLITE_STATIC: `text` must stay alive until the
  // statement is stepped for the last time or finalised.
  int BindText(int index, const char* text, int length);
  // sqlite3_step; SQLITE_DONE also marks the statement done.
  int Step();
  // Columns count from 0. Without a statement: 0, null and 0.
  int ColumnInt(int column) const;
  const char* ColumnText(int column) const;
  int ColumnBytes(int column) const;

  // Finalises the compiled statement, if any. False when sqlite3_finalize
  // reported an error (the handle is kept then).
  bool Finalize();

  bool IsPrepared() const { return statement_ != nullptr; }
  int done() const { return done_; }

 private:
  friend class SQLiteDB;
  int done_ = 1;
  sqlite3_stmt* statement_ = nullptr;
};

// One database connection; null while closed. Destroying it interrupts any
// running statement and closes the connection.
class SQLiteDB {
 public:
  SQLiteDB() = default;
  virtual ~SQLiteDB();
  SQLiteDB(const SQLiteDB&) = delete;
  SQLiteDB& operator=(const SQLiteDB&) = delete;

  // Closes a connection already held, then opens `path` (UTF-8) with `flags`
  // and asks for a write-ahead log with synchronous NORMAL (FULL where the
  // log cannot be had). False for a null path, when the old connection cannot
  // be closed, or when sqlite3_open_v2 fails (any handle it produced is
  // closed again).
  //
  // There is no key argument: the settings database is never keyed, and the
  // plain system SQLite has no sqlite3_key/sqlite3_rekey, so the encrypted
  // branch of such a wrapper would be dead code here.
  bool Open(const char* path, int flags);
  // False only when sqlite3_close fails (the handle is kept); true when there
  // was nothing to close.
  bool Close();
  bool IsOpen() const { return connection_ != nullptr; }

  // Finalises what `statement` held, then compiles `sql` into it. A negative
  // length measures the text (its byte length plus the terminating zero).
  int Prepare(SQLiteStatement& statement, const char* sql, int length);
  // sqlite3_exec with no error-message pointer.
  int Exec(const char* sql, int (*callback)(void*, int, char**, char**) = nullptr,
           void* argument = nullptr);
  // The row id of the last insert; -1 without a connection.
  int64_t LastInsertRowId() const;
  // True while a transaction begun on this connection is open.
  bool InTransaction() const;

 private:
  void UseWriteAheadLog();

  sqlite3* connection_ = nullptr;
};

// A transaction begun on construction and ended ("END", which commits) on
// destruction: whatever statements succeeded in between are committed unless
// Rollback was called first.
class SQLiteAutoTransaction {
 public:
  explicit SQLiteAutoTransaction(SQLiteDB* database);
  virtual ~SQLiteAutoTransaction();
  SQLiteAutoTransaction(const SQLiteAutoTransaction&) = delete;
  SQLiteAutoTransaction& operator=(const SQLiteAutoTransaction&) = delete;

  bool Begin();
  bool End();
  // Takes back every statement since Begin ("ROLLBACK") and ends the
  // transaction. Also the way out after a failed End, which leaves SQLite's
  // transaction open. False without a database or connection, or when
  // ROLLBACK failed.
  bool Rollback();
  bool active() const { return active_; }

 private:
  SQLiteDB* database_ = nullptr;
  bool active_ = false;
};

}  // namespace tk410
