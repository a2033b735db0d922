#include "xml/macro_file.h"

#include <algorithm>
#include <climits>
#include <mutex>
#include <vector>

#include "app/program_paths.h"
#include "base/text.h"
#include "macro/macro_steps.h"
#include "xml/xml_document.h"
#include "xml/xml_file_io.h"

namespace tk410 {

const FileFilter kMacroImportFilter{L"Macros (*.xml)", L"*.xml"};

namespace {

bool RefusedInFileName(wchar_t c) {
  if (c < 0x20 || c == 0x7F) return true;
  return std::wstring_view(L"<>:\"/\\|?*").find(c) != std::wstring_view::npos;
}

size_t Utf8Length(wchar_t c) { return ToUtf8(std::wstring_view(&c, 1)).size(); }

}  // namespace

std::wstring SafeFileName(std::wstring_view name, size_t max_utf8_bytes) {
  std::wstring safe;
  size_t bytes = 0;
  for (wchar_t c : name) {
    if (RefusedInFileName(c)) c = L'_';
    const size_t length = Utf8Length(c);
    if (bytes + length > max_utf8_bytes) break;
    bytes += length;
    safe.push_back(c);
  }
  for (size_t i = 0; i < safe.size() && safe[i] == L'.'; ++i) safe[i] = L'_';
  for (size_t i = safe.size(); i > 0 && (safe[i - 1] == L'.' || safe[i - 1] == L' '); --i) {
    safe[i - 1] = L'_';
  }
  if (safe.empty()) safe = L"_";
  return safe;
}

std::wstring MacroExportPath(const std::wstring& folder, std::wstring_view name, uint64_t tick) {
  std::wstring path = folder;
  if (path.empty() || path.back() != L'/') path.push_back(L'/');
  return path + SafeFileName(name) + L"-" + FormatInt(static_cast<long long>(tick)) + L".xml";
}

std::wstring BuildMacroDocument(ConfigDatabase& db, int macro_id, const std::wstring& name) {
  MacroRecord macro;
  RecordList<MacroEvent> steps;
  {
    std::lock_guard<std::recursive_mutex> hold(db.Lock());
    if (!db.GetMacro(macro_id, macro)) macro = MacroRecord{};
    db.LoadMacroEvents(macro_id, steps);
  }
  XmlDocument doc;
  StartXmlDocument(doc);
  doc.AddElement(L"macro");
  doc.EnterElement();
  doc.AddElement(L"macroinfo");
  doc.SetAttribute(L"macro_name", name);
  doc.SetAttribute(L"macro_type", FormatInt(macro.play_type));
  doc.SetAttribute(L"play_times", FormatInt(macro.play_times));
  doc.SetAttribute(L"delay_type", FormatInt(macro.delay_type));
  doc.SetAttribute(L"delay_time", FormatInt(macro.delay_time));
  doc.AddElement(L"macroitems");
  doc.EnterElement();
  for (const auto& step : steps) {
    doc.AddElement(L"item");
    doc.SetAttribute(L"desc", step->desc);
    doc.SetAttribute(L"index", FormatInt(step->record_index));
    doc.SetAttribute(L"type", FormatInt(step->type));
    doc.SetAttribute(L"value", FormatInt(step->value));
    doc.SetAttribute(L"timestamp", FormatInt(step->delay_time));
  }
  doc.LeaveElement();
  doc.LeaveElement();
  return doc.GetDocText();
}

bool SaveMacroFile(ConfigDatabase& db, const std::wstring& path, int macro_id, const std::wstring& name) {
  XmlDocument doc;
  doc.SetDocText(BuildMacroDocument(db, macro_id, name));
  return doc.SaveFile(path);
}

bool ExportMacro(ConfigDatabase& db, FileDialogs& dialogs, Clock& clock, int macro_id,
                 const std::wstring& name, std::wstring* written) {
  const std::wstring folder = dialogs.ChooseFolder(kMacroFolderTitle);
  if (folder.empty()) return false;
  const std::wstring path = MacroExportPath(folder, name, clock.TickMs());
  if (written) *written = path;
  return SaveMacroFile(db, path, macro_id, name);
}

MacroImportResult ImportMacroFile(ConfigDatabase& db, const std::wstring& path) {
  MacroImportResult result;
  if (!FileExists(path)) return result;
  result.file_chosen = true;
  XmlDocument doc;
  if (!LoadXmlFileWithRoot(doc, path, L"macro") || !doc.EnterElement()) return result;
  result.file_read = true;

  // A file without macroinfo gives a macro with an empty name and all values 0.
  MacroRecord macro;
  if (doc.FindElement(L"macroinfo")) {
    macro.name = doc.GetAttribute(L"macro_name");
    macro.play_type = IntAttribute(doc, L"macro_type");
    macro.play_times = IntAttribute(doc, L"play_times");
    macro.delay_type = IntAttribute(doc, L"delay_type");
    macro.delay_time = IntAttribute(doc, L"delay_time");
  }
  std::vector<MacroEvent> steps;
  size_t items = 0;
  if (doc.FindElement(L"macroitems") && doc.EnterElement()) {
    while (doc.FindElement(L"item")) {
      // Past the step limit the file is refused: the rest is only counted.
      if (++items > static_cast<size_t>(kMaxMacroSteps) + 1) continue;
      MacroEvent step;
      step.desc = doc.GetAttribute(L"desc");
      step.record_index = IntAttribute(doc, L"index");
      step.type = IntAttribute(doc, L"type");
      step.value = IntAttribute(doc, L"value");
      step.delay_time = IntAttribute(doc, L"timestamp");
      steps.push_back(std::move(step));
    }
    doc.LeaveElement();
  }
  if (items > steps.size()) {
    result.limits = {MacroRefusal::kTooManySteps, -1, static_cast<int>(std::min<size_t>(items, INT_MAX))};
    return result;
  }
  result.limits = FitMacroToLimits(macro, steps);
  if (result.Refused()) return result;

  // The macro and its steps appear together for the sync worker.
  std::lock_guard<std::recursive_mutex> hold(db.Lock());
  RecordList<MacroRecord> stored;
  if (db.LoadMacros(stored) >= kMaxMacros) {
    result.limits = {MacroRefusal::kTooManyMacros, -1, kMaxMacros};
    return result;
  }
  result.macro_id = db.AddMacro(macro);
  if (result.macro_id <= 0) {
    result.macro_id = 0;
    return result;
  }
  for (MacroEvent& step : steps) step.macro_id = result.macro_id;
  if (!steps.empty()) db.AddMacroEvents(steps);
  result.name = macro.name;
  return result;
}

MacroImportResult ImportMacro(ConfigDatabase& db, FileDialogs& dialogs) {
  const std::wstring path = dialogs.OpenFile(std::wstring(), kMacroImportFilter);
  if (path.empty()) return MacroImportResult{};
  return ImportMacroFile(db, path);
}

}  // namespace tk410
