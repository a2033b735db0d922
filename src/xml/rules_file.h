#pragma once
// The rules file: the per-program profile rules written to a file of their
// own and read back, for moving them to another computer. They do not travel
// in the profile file, whose layout readers of that format know exactly: a
// profile file holds one profile, and rules name profiles by number.
//
// Layout (UTF-8 without byte-order mark, one element per line, CR LF):
//   <apprules>
//   <rule match="exe|class|steam|other" text="..." profile="N"/>   per rule
//   </apprules>

#include <string>

#include "store/config_database.h"

namespace tk410 {

std::wstring BuildRulesDocument(ConfigDatabase& db);
// False when the file could not be written (an existing file stays as it was).
bool SaveRulesFile(ConfigDatabase& db, const std::wstring& path);

enum class RulesImportStatus { kImported, kUnreadable, kBadRule, kNotStored };

struct RulesImportReport {
  RulesImportStatus status = RulesImportStatus::kUnreadable;
  int stored = 0;        // rules added or changed
  int bad_rule = 0;      // the first refused rule, counted from 1
  std::string problem;   // why it was refused
};

// Reads the whole file and checks every rule (a known kind, a text that kind
// accepts, a profile the database has) before anything is stored; then, in
// one transaction, gives an existing rule of the same kind and text the
// file's profile and adds the others. A file with one bad rule changes
// nothing.
RulesImportReport ImportRulesFile(ConfigDatabase& db, const std::wstring& path);

}  // namespace tk410
