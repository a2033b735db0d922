// Profile rows of t_profile_data.

#include "store/config_database.h"
#include "store/sql_query.h"

namespace tk410 {

namespace {

// Names of the default profiles: decimal text ids of their shown names, in
// creation order, so they get the numbers 1 to 5.
constexpr const wchar_t* kDefaultProfileNames[] = {L"800", L"801", L"811", L"821", L"831"};

}  // namespace

int ConfigDatabase::AddProfile(const ProfileRecord& record) {
  std::lock_guard<std::recursive_mutex> hold(lock_);
  int profile = 0;
  {
    SqlQuery query(connection_);
    query.Prepare("INSERT INTO t_profile_data(name, status, app, type) VALUES (?, ?, ?, ?);",
                  {record.name, 0, record.app, 0});
    profile = InsertedId(query.Run());
  }
  // A failed insert has no number to give the default rows to; writing them
  // for profile 0 would only leave rows that belong to no profile.
  if (profile != 0) InsertDefaultConfig(profile);
  return profile;
}

int ConfigDatabase::LoadProfiles(RecordList<ProfileRecord>& list) {
  std::lock_guard<std::recursive_mutex> hold(lock_);
  list.clear();
  SqlQuery query(connection_);
  query.Prepare("SELECT * FROM t_profile_data");
  return AppendRows(query, list, [](const SqlQuery& row, ProfileRecord& record) {
    record.profile = row.Int(0);
    record.name = row.Text(1);
    record.status = row.Int(2);
    record.app = row.Text(3);
    record.type = row.Int(4);
  });
}

bool ConfigDatabase::SetActiveProfile(int profile) {
  std::lock_guard<std::recursive_mutex> hold(lock_);
  SqlQuery query(connection_);
  query.Prepare("UPDATE t_profile_data SET status = ?", {0});
  query.Step();
  query.Prepare("UPDATE t_profile_data SET status = ? WHERE profile = ?", {1, profile});
  return query.Run();
}

int ConfigDatabase::GetActiveProfile() {
  std::lock_guard<std::recursive_mutex> hold(lock_);
  SqlQuery query(connection_);
  query.Prepare("SELECT profile FROM t_profile_data WHERE status = ?", {1});
  return query.NextRow() ? query.Int(0) : 0;
}

bool ConfigDatabase::HasProfile(int profile) {
  std::lock_guard<std::recursive_mutex> hold(lock_);
  SqlQuery query(connection_);
  query.Prepare("SELECT count(*) FROM t_profile_data WHERE profile = ?", {profile});
  return query.NextRow() && query.Int(0) > 0;
}

int ConfigDatabase::EnsureDefaultProfiles() {
  std::lock_guard<std::recursive_mutex> hold(lock_);
  RecordList<ProfileRecord> profiles;
  if (LoadProfiles(profiles) < 1) {
    for (const wchar_t* name : kDefaultProfileNames) {
      ProfileRecord record;
      record.name = name;
      AddProfile(record);
    }
    SetActiveProfile(1);
  }
  int active = GetActiveProfile();
  if (active < 1) {
    SetActiveProfile(1);
    active = GetActiveProfile();
  }
  return active;
}

}  // namespace tk410
