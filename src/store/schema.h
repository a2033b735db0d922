#pragma once
// Layout of the settings database and the default configuration rows of a
// profile.

#include <vector>

namespace tk410 {

// The CREATE statements in the order they run: each table, then its index.
const std::vector<const char*>& SchemaStatements();
// The names of the tables those statements create.
const std::vector<const char*>& SchemaTables();

// One configuration key of t_configdata with its default texts for the wired
// and the Nordic family.
struct DefaultConfigRow {
  const wchar_t* key;
  const wchar_t* wired;
  const wchar_t* nordic;
};

// The 25 rows every new profile gets, in the order they are inserted.
const std::vector<DefaultConfigRow>& DefaultConfigRows();

}  // namespace tk410
