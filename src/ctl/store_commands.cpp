// profile, get, set and macro: the settings database of the current profile,
// through the same ConfigDatabase operations the window's handlers use.

#include "ctl/commands.h"

#include <cstdio>
#include <cwchar>
#include <limits>

#include "base/text.h"
#include "ctl/ctl_session.h"
#include "ctl/json_text.h"
#include "ctl/terminal_text.h"
#include "ctl/window_notify.h"
#include "app/instance_request.h"
#include "macro/macro_model.h"
#include "macro/macro_steps.h"
#include "store/config_database.h"
#include "store/schema.h"
#include "ui/device_main_dlg.h"

namespace tk410::ctl_tool {

namespace {

void Print(const std::string& line) { std::printf("%s\n", line.c_str()); }

Outcome Usage(const std::string& message) { return Outcome::Fail(kExitUsage, message); }

bool ParseIntIn(const std::string& text, long long low, long long high, int* value) {
  long long parsed = 0;
  if (!ParseInt(text, &parsed) || parsed < low || parsed > high) return false;
  *value = static_cast<int>(parsed);
  return true;
}

const DefaultConfigRow* FindConfigKey(const std::string& key) {
  const std::wstring wide = FromUtf8(key);
  for (const auto& row : DefaultConfigRows()) {
    if (wide == row.key) return &row;
  }
  return nullptr;
}

}  // namespace

Outcome ProfileCommand(Session& session, const Args& args) {
  if (args.empty()) return Usage("profile needs list, select N, export FILE or import FILE");
  ConfigDatabase& db = session.Db();
  DeviceMainDlg& window = session.Window();
  const std::string& verb = args[0];

  if (verb == "list") {
    if (args.size() != 1) return Usage("profile list takes no arguments");
    RecordList<ProfileRecord> profiles;
    db.LoadProfiles(profiles);
    const int active = window.current_profile.load();
    if (session.Options().json) {
      std::string out = "[";
      for (const auto& p : profiles) {
        if (out.size() > 1) out += ",";
        out += "{\"profile\":" + std::to_string(p->profile) +
               ",\"name\":" + JsonString(session.DisplayText(p->name)) +
               ",\"active\":" + (p->profile == active ? "true" : "false") + "}";
      }
      Print(out + "]");
    } else {
      for (const auto& p : profiles) {
        Print(std::string(p->profile == active ? "* " : "  ") + std::to_string(p->profile) + " " +
              TerminalText(session.DisplayText(p->name)));
      }
    }
    return Outcome::Ok();
  }

  if (verb == "select") {
    int number = 0;
    if (args.size() != 2 || !ParseIntIn(args[1], 1, std::numeric_limits<int>::max(), &number)) {
      return Usage("profile select needs a profile number");
    }
    if (!db.HasProfile(number)) return Outcome::Fail(kExitData, "no profile " + args[1]);
    // As the profile list does: make it active; the mouse receives its values
    // with the next write.
    if (!db.SetActiveProfile(number)) {
      return Outcome::Fail(kExitData, "cannot select profile " + args[1]);
    }
    window.current_profile.store(number);
    Print("profile " + std::to_string(number) + " selected");
    // A running window on this database follows: its pages and the mouse.
    NotifyRunningWindow(ProfileRequestLine(number, db.GetPath()));
    return Outcome::Ok();
  }

  if (verb == "export" || verb == "import") return ProfileFileCommand(session, args);
  return Usage("unknown profile command '" + verb + "'");
}

Outcome GetCommand(Session& session, const Args& args) {
  if (args.size() > 1) return Usage("get takes at most one key");
  ConfigDatabase& db = session.Db();
  const int profile = session.CurrentProfile();

  if (args.size() == 1) {
    if (!FindConfigKey(args[0])) return Usage("unknown setting '" + args[0] + "'");
    std::wstring value;
    if (!db.GetConfigValue(profile, FromUtf8(args[0]), value)) {
      return Outcome::Fail(kExitData, "profile " + std::to_string(profile) + " has no value of " + args[0]);
    }
    Print(session.Options().json ? JsonString(value) : TerminalText(value));
    return Outcome::Ok();
  }

  // Every setting of the current profile.
  std::string json = "{";
  for (const auto& row : DefaultConfigRows()) {
    std::wstring value;
    if (!db.GetConfigValue(profile, row.key, value)) continue;
    if (session.Options().json) {
      if (json.size() > 1) json += ",";
      json += JsonString(std::wstring(row.key)) + ":" + JsonString(value);
    } else {
      Print(ToUtf8(row.key) + "=" + TerminalText(value));
    }
  }
  if (session.Options().json) Print(json + "}");
  return Outcome::Ok();
}

Outcome SetCommand(Session& session, const Args& args) {
  if (args.size() != 2) return Usage("set needs a key and a value");
  const DefaultConfigRow* row = FindConfigKey(args[0]);
  if (!row) return Usage("unknown setting '" + args[0] + "'");
  if (std::wcscmp(row->key, L"version") == 0) return Usage("version is kept by the program");
  // Settings are whole numbers stored as decimal text.
  int number = 0;
  if (!ParseIntIn(args[1], std::numeric_limits<int>::min(), std::numeric_limits<int>::max(), &number)) {
    return Usage("the value of " + args[0] + " must be a whole number, not '" + args[1] + "'");
  }
  ConfigDatabase& db = session.Db();
  const int profile = session.CurrentProfile();
  std::wstring old_value;
  // SetConfigValue stores nothing for a missing row and still succeeds.
  if (!db.GetConfigValue(profile, row->key, old_value)) {
    return Outcome::Fail(kExitData, "profile " + std::to_string(profile) + " has no value of " + args[0]);
  }
  if (!db.SetConfigValue(profile, row->key, FormatInt(number))) {
    return Outcome::Fail(kExitData, "cannot store " + args[0]);
  }
  return Outcome::Ok();
}

Outcome MacroCommand(Session& session, const Args& args) {
  if (args.empty()) return Usage("macro needs list, new, show ID, export ID DIR or import FILE");
  ConfigDatabase& db = session.Db();
  const std::string& verb = args[0];
  const bool json = session.Options().json;

  if (verb == "list") {
    if (args.size() != 1) return Usage("macro list takes no arguments");
    RecordList<MacroRecord> macros;
    db.LoadMacros(macros);
    std::string out = "[";
    for (const auto& m : macros) {
      RecordList<MacroEvent> steps;
      const int count = db.LoadMacroEvents(m->macro_id, steps);
      if (json) {
        if (out.size() > 1) out += ",";
        out += "{\"id\":" + std::to_string(m->macro_id) + ",\"name\":" + JsonString(m->name) +
               ",\"steps\":" + std::to_string(count) + ",\"play_type\":" + std::to_string(m->play_type) +
               ",\"play_times\":" + std::to_string(m->play_times) + "}";
      } else {
        Print(std::to_string(m->macro_id) + " " + TerminalText(m->name) + " (" + std::to_string(count) + " steps)");
      }
    }
    if (json) Print(out + "]");
    return Outcome::Ok();
  }

  if (verb == "new") {
    if (args.size() > 2) return Usage("macro new takes at most a name");
    // Named as the macro page names a new macro, then renamed when asked.
    MacroAddResult added = CreateMacro(db, session.Texts());
    if (added.status == MacroChange::LimitReached) {
      return Outcome::Fail(kExitData, "there are already " + std::to_string(kMaxMacros) + " macros");
    }
    if (added.status != MacroChange::Done) return Outcome::Fail(kExitData, "cannot add a macro");
    if (args.size() == 2) {
      added.name = FromUtf8(args[1]);
      if (added.name.empty() ||
          RenameMacroAndButtons(db, session.CurrentProfile(), added.macro_id, added.name) != MacroChange::Done) {
        RemoveMacro(db, added.macro_id);
        return Outcome::Fail(kExitData, "cannot name the macro '" + args[1] + "'");
      }
    }
    Print(json ? "{\"id\":" + std::to_string(added.macro_id) + ",\"name\":" + JsonString(added.name) + "}"
               : std::to_string(added.macro_id) + " " + TerminalText(added.name));
    return Outcome::Ok();
  }

  if (verb == "show") {
    int id = 0;
    if (args.size() != 2 || !ParseIntIn(args[1], 1, std::numeric_limits<int>::max(), &id)) {
      return Usage("macro show needs a macro id");
    }
    MacroRecord macro;
    if (!db.GetMacro(id, macro)) return Outcome::Fail(kExitData, "no macro " + args[1]);
    RecordList<MacroEvent> steps;
    db.LoadMacroEvents(id, steps);
    if (json) {
      std::string out = "{\"id\":" + std::to_string(id) + ",\"name\":" + JsonString(macro.name) +
                        ",\"play_type\":" + std::to_string(macro.play_type) +
                        ",\"play_times\":" + std::to_string(macro.play_times) +
                        ",\"delay_type\":" + std::to_string(macro.delay_type) +
                        ",\"delay_time\":" + std::to_string(macro.delay_time) + ",\"steps\":[";
      bool first = true;
      for (const auto& s : steps) {
        out += std::string(first ? "" : ",") + "{\"type\":" + std::to_string(s->type) +
               ",\"value\":" + std::to_string(s->value) + ",\"time\":" + std::to_string(s->delay_time) +
               ",\"text\":" + JsonString(s->desc) + "}";
        first = false;
      }
      Print(out + "]}");
    } else {
      Print(std::to_string(id) + " " + TerminalText(macro.name) + ": play_type " + std::to_string(macro.play_type) +
            ", play_times " + std::to_string(macro.play_times) + ", delay_type " +
            std::to_string(macro.delay_type) + ", delay_time " + std::to_string(macro.delay_time));
      for (const auto& s : steps) {
        Print("  " + std::to_string(s->type) + " " + std::to_string(s->value) + " " +
              std::to_string(s->delay_time) + " " + TerminalText(s->desc));
      }
    }
    return Outcome::Ok();
  }

  if (verb == "export") return MacroExportCommand(session, args);
  if (verb == "import") return MacroImportCommand(session, args);
  return Usage("unknown macro command '" + verb + "'");
}

}  // namespace tk410::ctl_tool
