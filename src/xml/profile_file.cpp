#include "xml/profile_file.h"

#include <algorithm>
#include <iterator>
#include <unordered_map>
#include <unordered_set>

#include "assign/family_buttons.h"
#include "base/text.h"
#include "sync/sync_task.h"
#include "xml/xml_document.h"
#include "xml/xml_file_io.h"

namespace tk410 {

const FileFilter kProfileExportFilter{L"Profile (*.xml)", L"*.xml"};
const FileFilter kProfileImportFilter{L"MouseKey (*.xml)", L"*.xml"};

const std::array<const wchar_t*, 7> kProfileMouseKeys = {
    L"button_respondtime", L"report_rate", L"sensor_flag",  L"liftoff_height",
    L"scroll_flag",        L"e-sports_flag", L"leftbtn_lock"};

namespace {

const wchar_t* const kDpiAttributes[] = {L"dpi_flag", L"dpi_index", L"dpi_count"};

std::wstring StageValueKey(int stage) { return FormatW(L"dpi_group%d_value", stage); }
std::wstring StageColorKey(int stage) { return FormatW(L"dpi_group%d_rgb", stage); }
std::wstring StageElement(int stage) { return FormatW(L"DPI%d", stage + 1); }

std::wstring Config(ConfigDatabase& db, int profile, const std::wstring& key) {
  std::wstring value;
  db.GetConfigValue(profile, key, value);  // a missing key leaves the text empty
  return value;
}

void SetInt(XmlDocument& doc, const wchar_t* name, int value) {
  doc.SetAttribute(name, FormatInt(value));
}

void AddKeyItems(XmlDocument& doc, ConfigDatabase& db, int profile) {
  doc.AddElement(L"keyitems");
  doc.EnterElement();
  RecordList<KeyMacroRecord> keys;
  db.LoadKeyRecords(profile, 0, keys);
  for (const auto& key : keys) {
    doc.AddElement(L"item");
    SetInt(doc, L"key_code", key->key_code);
    SetInt(doc, L"macro_type", key->macro_type);
    SetInt(doc, L"macro_value", key->macro_value);
    SetInt(doc, L"macro_value2", key->macro_value2);
    SetInt(doc, L"macro_value3", key->macro_value3);
    doc.SetAttribute(L"macro_desc", key->macro_desc);
  }
  doc.LeaveElement();
}

void AddLightItems(XmlDocument& doc, ConfigDatabase& db, int profile) {
  doc.AddElement(L"Lightitems");
  SetInt(doc, L"light_mode", db.GetActiveLightMode(profile));
  doc.EnterElement();
  RecordList<LightRecord> lights;
  db.LoadLights(profile, lights);
  for (const auto& light : lights) {
    doc.AddElement(L"item");
    SetInt(doc, L"light_mode", light->mode);
    SetInt(doc, L"brightness", light->brightness);
    SetInt(doc, L"speed", light->speed);
    SetInt(doc, L"direction", light->direction);
    SetInt(doc, L"colorful", light->colorful);
    SetInt(doc, L"colorindex", light->colorindex);
    SetInt(doc, L"color_value", light->color_value);
  }
  doc.LeaveElement();
}

void AddDpi(XmlDocument& doc, ConfigDatabase& db, int profile) {
  doc.AddElement(L"Mouse_DPI");
  for (const wchar_t* key : kDpiAttributes) doc.SetAttribute(key, Config(db, profile, key));
  doc.EnterElement();
  for (int stage = 0; stage < 6; ++stage) {
    doc.AddElement(StageElement(stage));
    doc.SetAttribute(L"value", Config(db, profile, StageValueKey(stage)));
    doc.SetAttribute(L"color", Config(db, profile, StageColorKey(stage)));
  }
  doc.LeaveElement();
}

void AddMouse(XmlDocument& doc, ConfigDatabase& db, int profile) {
  doc.AddElement(L"Mouse");
  doc.EnterElement();
  for (const wchar_t* key : kProfileMouseKeys) {
    doc.AddElement(key);
    doc.SetAttribute(L"value", Config(db, profile, key));
  }
  doc.LeaveElement();
}

// Each reader below starts with the cursor among profileinfo's children and
// leaves it there, on the section it read (or where it was when the section
// is missing), so the next section is searched after it.

void ReadKeys(XmlDocument& doc, ProfileFileContent& out) {
  if (!doc.FindElement(L"keyitems") || !doc.EnterElement()) return;
  while (doc.FindElement(L"item")) {
    KeyMacroRecord key;
    key.key_code = IntAttribute(doc, L"key_code");
    key.macro_type = IntAttribute(doc, L"macro_type");
    key.macro_value = IntAttribute(doc, L"macro_value");
    key.macro_value2 = IntAttribute(doc, L"macro_value2");
    key.macro_value3 = IntAttribute(doc, L"macro_value3");
    key.macro_desc = doc.GetAttribute(L"macro_desc");
    out.keys.push_back(std::move(key));
  }
  doc.LeaveElement();
}

void ReadLights(XmlDocument& doc, ProfileFileContent& out) {
  if (!doc.FindElement(L"Lightitems")) return;
  out.has_lights = true;
  out.active_light_mode = IntAttribute(doc, L"light_mode");
  if (!doc.EnterElement()) return;
  while (doc.FindElement(L"item")) {
    LightRecord item;
    item.mode = IntAttribute(doc, L"light_mode");
    item.brightness = IntAttribute(doc, L"brightness");
    item.speed = IntAttribute(doc, L"speed");
    item.direction = IntAttribute(doc, L"direction");
    item.colorful = IntAttribute(doc, L"colorful");
    item.colorindex = IntAttribute(doc, L"colorindex");
    item.color_value = IntAttribute(doc, L"color_value");
    out.lights.push_back(item);
  }
  doc.LeaveElement();
}

void ReadDpi(XmlDocument& doc, ProfileFileContent& out) {
  if (!doc.FindElement(L"Mouse_DPI")) return;
  out.has_dpi = true;
  out.dpi_flag = doc.GetAttribute(L"dpi_flag");
  out.dpi_index = doc.GetAttribute(L"dpi_index");
  out.dpi_count = doc.GetAttribute(L"dpi_count");
  if (!doc.EnterElement()) return;
  // Searched in order: a stage that comes before the one found last is missed.
  for (int stage = 0; stage < 6; ++stage) {
    if (!doc.FindElement(StageElement(stage))) continue;
    out.stages[stage] = ProfileFileContent::Stage{doc.GetAttribute(L"value"),
                                                  doc.GetAttribute(L"color")};
  }
  doc.LeaveElement();
}

void ReadMouse(XmlDocument& doc, ProfileFileContent& out) {
  if (!doc.FindElement(L"Mouse")) return;
  out.has_mouse = true;
  if (!doc.EnterElement()) return;
  for (size_t i = 0; i < kProfileMouseKeys.size(); ++i) {
    if (doc.FindElement(kProfileMouseKeys[i])) out.mouse[i] = doc.GetAttribute(L"value");
  }
  doc.LeaveElement();
}

// The button rows that remain after saving `keys` one after the other into an
// emptied profile: the last item of each key code decides, in the order of
// those last items. A file with many repeats then costs one insert per button.
std::vector<const KeyMacroRecord*> LastKeyPerCode(const std::vector<KeyMacroRecord>& keys) {
  std::unordered_map<int, size_t> last;
  for (size_t i = 0; i < keys.size(); ++i) last[keys[i].key_code] = i;
  std::vector<const KeyMacroRecord*> result;
  for (size_t i = 0; i < keys.size(); ++i) {
    if (last[keys[i].key_code] == i) result.push_back(&keys[i]);
  }
  return result;
}

}  // namespace

std::wstring BuildProfileDocument(ConfigDatabase& db, int key_profile, int current_profile,
                                  const std::wstring& name) {
  XmlDocument doc;
  StartXmlDocument(doc);
  doc.AddElement(L"profile");
  doc.EnterElement();
  doc.AddElement(L"profileinfo");
  doc.SetAttribute(L"name", name);
  doc.EnterElement();
  AddKeyItems(doc, db, key_profile);
  AddLightItems(doc, db, current_profile);
  AddDpi(doc, db, current_profile);
  AddMouse(doc, db, current_profile);
  return doc.GetDocText();
}

bool WriteProfileFile(ConfigDatabase& db, int key_profile, int current_profile,
                      const std::wstring& name, const std::wstring& path) {
  XmlDocument doc;
  doc.SetDocText(BuildProfileDocument(db, key_profile, current_profile, name));
  return doc.SaveFile(path);
}

std::optional<ProfileFileContent> ReadProfileFile(const std::wstring& path) {
  XmlDocument doc;
  if (!LoadXmlFileWithRoot(doc, path, L"profile")) return std::nullopt;
  if (!doc.EnterElement() || !doc.FindElement(L"profileinfo")) return std::nullopt;
  ProfileFileContent content;
  content.name = doc.GetAttribute(L"name");
  if (!doc.EnterElement()) return std::nullopt;
  ReadKeys(doc, content);
  ReadLights(doc, content);
  ReadDpi(doc, content);
  ReadMouse(doc, content);
  return content;
}

namespace {

// The statements of an import, in file order; false at the first one that
// fails, so that the caller takes all of them back.
bool ApplyRows(ConfigDatabase& db, int profile, const ProfileFileContent& content) {
  if (!db.DeleteProfileKeys(profile)) return false;
  for (const KeyMacroRecord* item : LastKeyPerCode(content.keys)) {
    // Both values 0: the button keeps its default function, which it has
    // now that its row is gone.
    if (item->macro_value == 0 && item->macro_value2 == 0) continue;
    KeyMacroRecord key = *item;
    key.key_id = 0;
    key.profile = profile;
    key.fn_layer = 0;
    key.layout_value = 0;
    key.layout_desc.clear();
    if (db.SaveKeyRecord(key) == 0) return false;
  }

  if (content.has_lights) {
    // Also true when the profile has no lighting row of that mode.
    if (!db.SetActiveLightMode(profile, content.active_light_mode)) return false;
    // Later items of the same mode overwrite earlier ones; only the last counts.
    std::unordered_set<int> done;
    for (auto it = content.lights.rbegin(); it != content.lights.rend(); ++it) {
      if (!done.insert(it->mode).second) continue;
      LightRecord row;
      if (!db.GetLight(profile, it->mode, row)) continue;  // no row for this mode
      row.brightness = it->brightness;
      row.speed = it->speed;
      row.direction = it->direction;
      row.colorful = it->colorful;
      row.colorindex = it->colorindex;
      row.color_value = it->color_value;
      if (!db.UpdateLight(profile, it->mode, row)) return false;
    }
  }

  if (content.has_dpi) {
    const std::wstring* dpi_values[] = {&content.dpi_flag, &content.dpi_index, &content.dpi_count};
    for (size_t i = 0; i < std::size(kDpiAttributes); ++i) {
      if (!db.SetConfigValue(profile, kDpiAttributes[i], *dpi_values[i])) return false;
    }
    for (int stage = 0; stage < 6; ++stage) {
      if (!content.stages[stage]) continue;
      if (!db.SetConfigValue(profile, StageValueKey(stage), content.stages[stage]->value) ||
          !db.SetConfigValue(profile, StageColorKey(stage), content.stages[stage]->color)) {
        return false;
      }
    }
  }
  if (content.has_mouse) {
    for (size_t i = 0; i < kProfileMouseKeys.size(); ++i) {
      if (content.mouse[i] && !db.SetConfigValue(profile, kProfileMouseKeys[i], *content.mouse[i])) {
        return false;
      }
    }
  }
  return true;
}

}  // namespace

bool ApplyProfileContent(ConfigDatabase& db, int profile, const ProfileFileContent& content) {
  return db.RunTransaction([&] { return ApplyRows(db, profile, content); });
}

std::vector<int> ForeignKeyCodes(const ProfileFileContent& content, int device_type) {
  std::vector<int> foreign;
  for (const KeyMacroRecord& key : content.keys) {
    if (!IsFamilyButton(device_type, key.key_code)) foreign.push_back(key.key_code);
  }
  std::sort(foreign.begin(), foreign.end());
  foreign.erase(std::unique(foreign.begin(), foreign.end()), foreign.end());
  return foreign;
}

std::wstring KeyCodeListText(const std::vector<int>& codes) {
  constexpr size_t kShown = 10;
  std::wstring text;
  for (size_t i = 0; i < codes.size() && i < kShown; ++i) {
    if (i > 0) text += L", ";
    text += FormatInt(codes[i]);
  }
  if (codes.size() > kShown) text += L", \u2026";
  return text;
}

int ProfileImportTask(int device_type) {
  return device_type > kLastWiredDeviceType ? kTaskImportNordic : kTaskProfileSwitch;
}

bool ExportProfile(ConfigDatabase& db, FileDialogs& dialogs, int key_profile, int current_profile,
                   const std::wstring& name, std::wstring* written) {
  const std::wstring path = dialogs.SaveFile(std::wstring(), kProfileExportFilter);
  if (path.empty()) return false;
  if (written) *written = path;
  return WriteProfileFile(db, key_profile, current_profile, name, path);
}

ProfileImportReport ImportProfileFromFile(ConfigDatabase& db, const std::wstring& path, int profile,
                                          int device_type) {
  ProfileImportReport report;
  const std::optional<ProfileFileContent> content = ReadProfileFile(path);
  if (!content) {
    report.status = ProfileImportStatus::kUnreadable;
    return report;
  }
  report.foreign_key_codes = ForeignKeyCodes(*content, device_type);
  if (!report.foreign_key_codes.empty()) {
    report.status = ProfileImportStatus::kForeignKeyCodes;
    return report;
  }
  if (!ApplyProfileContent(db, profile, *content)) {
    report.status = ProfileImportStatus::kNotStored;
    return report;
  }
  report.status = ProfileImportStatus::kImported;
  report.task = ProfileImportTask(device_type);
  return report;
}

std::optional<int> ImportProfile(ConfigDatabase& db, FileDialogs& dialogs, int current_profile,
                                 int device_type, ProfileImportReport* report) {
  const std::wstring path = dialogs.OpenFile(std::wstring(), kProfileImportFilter);
  ProfileImportReport result;
  if (!path.empty()) result = ImportProfileFromFile(db, path, current_profile, device_type);
  const bool imported = result.status == ProfileImportStatus::kImported;
  const int task = result.task;
  if (report) *report = std::move(result);
  if (!imported) return std::nullopt;
  return task;
}

}  // namespace tk410
