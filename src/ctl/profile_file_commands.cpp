// profile export FILE and profile import FILE: the current profile to and
// from a profile file, through the routines of the window's export and import
// buttons. Export names the file's profile as the profile list shows it.

#include <cstdio>

#include "base/text.h"
#include "ctl/commands.h"
#include "ctl/ctl_session.h"
#include "ctl/json_text.h"
#include "store/config_database.h"
#include "xml/profile_file.h"

namespace tk410::ctl_tool {

namespace {

void Print(const std::string& line) { std::printf("%s\n", line.c_str()); }

// The name the profile list shows for `profile`.
std::wstring ProfileDisplayName(Session& session, int profile) {
  RecordList<ProfileRecord> profiles;
  session.Db().LoadProfiles(profiles);
  for (const auto& p : profiles) {
    if (p->profile == profile) return session.DisplayText(p->name);
  }
  return std::wstring();
}

void PrintDone(Session& session, const char* verb, int profile, const std::string& file) {
  if (session.Options().json) {
    Print("{\"profile\":" + std::to_string(profile) + ",\"file\":" + JsonString(file) + "}");
  } else {
    Print("profile " + std::to_string(profile) + " " + verb + " " + file);
  }
}

}  // namespace

Outcome ProfileFileCommand(Session& session, const Args& args) {
  const std::string& verb = args[0];
  if (args.size() != 2 || args[1].empty()) {
    return Outcome::Fail(kExitUsage, "profile " + verb + " needs one FILE");
  }
  const std::string& file = args[1];
  const std::wstring path = FromUtf8(file);
  const int profile = session.CurrentProfile();
  ConfigDatabase& db = session.Db();

  if (verb == "export") {
    if (!WriteProfileFile(db, profile, profile, ProfileDisplayName(session, profile), path)) {
      return Outcome::Fail(kExitData, "cannot write the profile file " + file);
    }
    PrintDone(session, "exported to", profile, file);
    return Outcome::Ok();
  }

  const ProfileImportReport report = ImportProfileFromFile(db, path, profile, session.DeviceType());
  switch (report.status) {
    case ProfileImportStatus::kImported:
      // The mouse receives the imported values with the next write.
      PrintDone(session, "imported from", profile, file);
      return Outcome::Ok();
    case ProfileImportStatus::kForeignKeyCodes:
      return Outcome::Fail(kExitData, "cannot import " + file + ": key codes " +
                                          ToUtf8(KeyCodeListText(report.foreign_key_codes)) +
                                          " are no buttons of this mouse; nothing was changed");
    case ProfileImportStatus::kNotStored:
      return Outcome::Fail(kExitData, "cannot store " + file +
                                          " in the settings database; nothing was changed");
    default:
      return Outcome::Fail(kExitData, "cannot read " + file +
                                          ": missing, unreadable or not a profile file");
  }
}

}  // namespace tk410::ctl_tool
