// The SQLite wrappers: result codes without handles, statement reuse and the
// scoped transaction.

#include <gtest/gtest.h>

#include "store/sqlite_db.h"
#include "support/temp_dir.h"

namespace tk410 {
namespace {

TEST(SQLiteWrappers, MissingHandlesGiveMisuseAndNeutralColumns) {
  SQLiteDB db;
  SQLiteStatement statement;
  EXPECT_FALSE(db.IsOpen());
  EXPECT_TRUE(db.Close());  // nothing to close
  EXPECT_FALSE(db.Open(nullptr, kOpenCreate));
  EXPECT_EQ(db.Prepare(statement, "SELECT 1", -1), 21);
  EXPECT_EQ(db.Exec("SELECT 1"), 21);
  EXPECT_EQ(db.LastInsertRowId(), -1);

  EXPECT_EQ(statement.BindInt(1, 5), 21);
  EXPECT_EQ(statement.BindText(1, "x", 1), 21);
  EXPECT_EQ(statement.Step(), 21);
  EXPECT_EQ(statement.ColumnInt(0), 0);
  EXPECT_EQ(statement.ColumnText(0), nullptr);
  EXPECT_EQ(statement.done(), 1);
}

TEST(SQLiteWrappers, SuccessRuleAcceptsOkRowAndDoneOnly) {
  EXPECT_TRUE(StepSucceeded(0));
  EXPECT_TRUE(StepSucceeded(100));
  EXPECT_TRUE(StepSucceeded(101));
  for (int failure : {1, 5, 8, 11, 19, 21, 26}) EXPECT_FALSE(StepSucceeded(failure)) << failure;
}

TEST(SQLiteWrappers, OpenPrepareStepAndReuseOneStatement) {
  testing::TempDir dir;
  const std::string path = (dir.path() / "a.db").string();
  SQLiteDB db;
  EXPECT_FALSE(db.Open(path.c_str(), kOpenExisting));  // missing file, no creation
  EXPECT_FALSE(db.IsOpen());
  ASSERT_TRUE(db.Open(path.c_str(), kOpenCreate));

  // Every open asks for a write-ahead log with synchronous NORMAL (1): a
  // transaction is either in the file or not after a crash or power cut.
  SQLiteStatement statement;
  ASSERT_EQ(db.Prepare(statement, "PRAGMA synchronous", -1), 0);
  ASSERT_EQ(statement.Step(), 100);
  EXPECT_EQ(statement.ColumnInt(0), 1);
  ASSERT_EQ(db.Prepare(statement, "PRAGMA journal_mode", -1), 0);
  ASSERT_EQ(statement.Step(), 100);
  EXPECT_STREQ(statement.ColumnText(0), "wal");

  ASSERT_EQ(db.Exec("CREATE TABLE t(id INTEGER PRIMARY KEY AUTOINCREMENT, name TEXT)"), 0);
  const char name[] = "abc";
  ASSERT_EQ(db.Prepare(statement, "INSERT INTO t(name) VALUES (?)", -1), 0);
  EXPECT_EQ(statement.BindText(1, name, 3), 0);
  EXPECT_EQ(statement.Step(), 101);
  EXPECT_EQ(statement.done(), 1);
  EXPECT_EQ(db.LastInsertRowId(), 1);

  // Preparing into the same object replaces the insert by the select.
  ASSERT_EQ(db.Prepare(statement, "SELECT id, name FROM t", -1), 0);
  ASSERT_EQ(statement.Step(), 100);
  EXPECT_EQ(statement.ColumnInt(0), 1);
  EXPECT_STREQ(statement.ColumnText(1), "abc");
  EXPECT_EQ(statement.Step(), 101);

  // A text that does not compile leaves no statement behind.
  EXPECT_EQ(db.Prepare(statement, "SELEKT nonsense", -1), 1);
  EXPECT_FALSE(statement.IsPrepared());
  EXPECT_EQ(statement.Step(), 21);
  EXPECT_EQ(db.Prepare(statement, nullptr, -1), 21);

  // Reopening closes the old connection first.
  EXPECT_TRUE(db.Open(path.c_str(), kOpenExisting));
  EXPECT_TRUE(db.Close());
  EXPECT_FALSE(db.IsOpen());
}

TEST(SQLiteWrappers, AutoTransactionBeginsOnceAndCommitsOnDestruction) {
  SQLiteAutoTransaction none(nullptr);
  EXPECT_FALSE(none.active());
  EXPECT_FALSE(none.Begin());
  EXPECT_FALSE(none.End());

  SQLiteDB closed;
  {
    SQLiteAutoTransaction transaction(&closed);
    EXPECT_TRUE(transaction.active());
    EXPECT_FALSE(transaction.Begin());  // already active
    EXPECT_FALSE(transaction.End());    // no connection
    EXPECT_FALSE(transaction.active());
    EXPECT_FALSE(transaction.Begin());  // no connection, yet marked active
    EXPECT_TRUE(transaction.active());
  }

  testing::TempDir dir;
  const std::string path = (dir.path() / "t.db").string();
  SQLiteDB db;
  ASSERT_TRUE(db.Open(path.c_str(), kOpenCreate));
  ASSERT_EQ(db.Exec("CREATE TABLE t(v INTEGER)"), 0);
  {
    SQLiteAutoTransaction transaction(&db);
    EXPECT_EQ(db.Exec("INSERT INTO t VALUES (1)"), 0);
    // Inside a transaction another BEGIN is refused by SQLite.
    EXPECT_NE(db.Exec("BEGIN"), 0);
  }
  // Committed: a new transaction can start and the row is there.
  EXPECT_EQ(db.Exec("BEGIN"), 0);
  EXPECT_EQ(db.Exec("END"), 0);
  SQLiteStatement count;
  ASSERT_EQ(db.Prepare(count, "SELECT count(*) FROM t", -1), 0);
  ASSERT_EQ(count.Step(), 100);
  EXPECT_EQ(count.ColumnInt(0), 1);
}

TEST(SQLiteWrappers, RollbackTakesBackAndTheDestructorThenCommitsNothing) {
  SQLiteDB closed;
  SQLiteAutoTransaction without_connection(&closed);
  EXPECT_FALSE(without_connection.Rollback());
  EXPECT_FALSE(without_connection.active());
  SQLiteAutoTransaction none(nullptr);
  EXPECT_FALSE(none.Rollback());

  testing::TempDir dir;
  const std::string path = (dir.path() / "t.db").string();
  SQLiteDB db;
  ASSERT_TRUE(db.Open(path.c_str(), kOpenCreate));
  ASSERT_EQ(db.Exec("CREATE TABLE t(v INTEGER)"), 0);
  EXPECT_FALSE(db.InTransaction());
  {
    SQLiteAutoTransaction transaction(&db);
    EXPECT_TRUE(db.InTransaction());
    ASSERT_EQ(db.Exec("INSERT INTO t VALUES (1)"), 0);
    EXPECT_TRUE(transaction.Rollback());
    EXPECT_FALSE(transaction.active());
    EXPECT_FALSE(db.InTransaction());
    // Outside the transaction: committed at once, and not touched by the
    // destructor.
    ASSERT_EQ(db.Exec("INSERT INTO t VALUES (2)"), 0);
  }
  {
    // A second rollback has nothing left to take back.
    SQLiteAutoTransaction transaction(&db);
    ASSERT_EQ(db.Exec("INSERT INTO t VALUES (3)"), 0);
    EXPECT_TRUE(transaction.End());
    EXPECT_FALSE(transaction.Rollback());
  }
  SQLiteStatement rows;
  ASSERT_EQ(db.Prepare(rows, "SELECT group_concat(v) FROM t", -1), 0);
  ASSERT_EQ(rows.Step(), 100);
  EXPECT_STREQ(rows.ColumnText(0), "2,3");
}

}  // namespace
}  // namespace tk410
