// Profile files as the import reads them: any bytes are read, checked and
// stored into a database's profile 1 (or refused with the database as it
// was), exported again, and the imported values written to a virtual mouse
// as the next write does. Inputs of even length go to the wired family,
// odd ones to the Nordic family.
//
// Checked: a refused file changes nothing; an imported profile exports to a
// file that reads back with the same buttons and DPI values.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "base/text.h"
#include "support/check.h"
#include "support/mouse_rig.h"
#include "support/scratch.h"
#include "xml/profile_file.h"

namespace {

using namespace tk410;

std::wstring Config(ConfigDatabase& db, const wchar_t* key) {
  std::wstring value;
  db.GetConfigValue(1, key, value);
  return value;
}

int KeyRows(ConfigDatabase& db) {
  RecordList<KeyMacroRecord> keys;
  return db.LoadKeyRecords(1, 0, keys);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::MouseRig& rig = fuzz::RigForInput(size);
  ConfigDatabase& db = rig.Db();

  const std::string path =
      fuzz::WriteScratchFile("profile.xml", std::string_view(reinterpret_cast<const char*>(data), size));
  if (path.empty()) return 0;
  const std::wstring index_before = Config(db, L"dpi_index");
  const int rows_before = KeyRows(db);
  const ProfileImportReport report = ImportProfileFromFile(db, FromUtf8(path), 1, rig.DeviceType());
  if (report.status != ProfileImportStatus::kImported) {
    TK410_FUZZ_CHECK(Config(db, L"dpi_index") == index_before && KeyRows(db) == rows_before);
    return 0;
  }

  const std::string exported = fuzz::ScratchDir() + "exported.xml";
  TK410_FUZZ_CHECK(WriteProfileFile(db, 1, 1, L"export", FromUtf8(exported)));
  const auto content = ReadProfileFile(FromUtf8(exported));
  TK410_FUZZ_CHECK(content.has_value());
  TK410_FUZZ_CHECK(static_cast<int>(content->keys.size()) == KeyRows(db));
  TK410_FUZZ_CHECK(content->dpi_index == Config(db, L"dpi_index"));
  TK410_FUZZ_CHECK(ForeignKeyCodes(*content, rig.DeviceType()).empty());

  rig.WriteToMouse(false);
  return 0;
}
