#pragma once
// A settings database with the five default profiles in a temporary folder,
// a second plain SQLite connection to set up and dump rows without going
// through the code under test, and scripted file dialogs.

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <string>
#include <vector>

#include "platform/fake_file_dialogs.h"
#include "store/config_database.h"
#include "support/temp_dir.h"

namespace tk410::testing {

class XmlFilesTest : public ::testing::Test {
 protected:
  XmlFilesTest();
  ~XmlFilesTest() override;

  // Runs SQL on the side connection; fails the test on an error.
  void Sql(const std::string& sql);
  // Every row of `select`, columns joined with '|', rows in result order.
  std::vector<std::string> Rows(const std::string& select);
  long long Count(const std::string& table);
  // The whole content that an import may change, minus the key_id numbers
  // and the layout columns of the button rows.
  std::vector<std::string> Snapshot();
  // Writes `bytes` into the temporary folder; returns the full path (wide).
  std::wstring WriteFile(const std::string& name, const std::string& bytes);
  std::string ReadFile(const std::wstring& path);
  // A file of tests/data/xml.
  std::string ExpectedFile(const char* name);
  std::string Config(int profile, const std::wstring& key);

  TempDir dir_;
  ConfigDatabase db_;
  FakeFileDialogs dialogs_;

 private:
  sqlite3* raw_ = nullptr;
};

}  // namespace tk410::testing
