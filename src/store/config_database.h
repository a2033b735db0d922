#pragma once
// The settings database: one SQLite file per device type holding every
// setting of every profile, the button assignments, lighting rows, macros and
// macro steps.
//
// The program uses one process-wide object (Instance()); the class can also be
// constructed directly, for tools and tests that work on a file of their own.
// Every row operation holds the object's recursive lock from before its first
// statement is prepared until its last statement is finalised, so the window
// thread and the sync worker never interleave inside an operation; an
// operation that calls another holds the lock across both. Text is UTF-8 in
// the file and wide in memory.

#include <atomic>
#include <functional>
#include <mutex>
#include <string>

#include "store/records.h"
#include "store/sqlite_db.h"

namespace tk410 {

// The device types above this one belong to the Nordic-receiver family.
constexpr int kLastWiredDeviceType = 200;

// Connection mode of the active device as the device manager reports it
// (0 direct, 1 and 3 through a receiver, 2 Bluetooth), -1 without a device.
using ConnectionModeSource = std::function<int()>;

class ConfigDatabase {
 public:
  ConfigDatabase();
  virtual ~ConfigDatabase();
  ConfigDatabase(const ConfigDatabase&) = delete;
  ConfigDatabase& operator=(const ConfigDatabase&) = delete;

  // The program's one database object, created on first use.
  static ConfigDatabase& Instance();

  // ---------------------------------------------------------------- opening
  // The file <directory>db/<name>_data_kvr.db. `directory` ends with '/'. The
  // "db" folder must exist already; nothing here creates folders.
  static std::wstring DatabaseFilePath(const std::wstring& directory, const std::wstring& name);

  // Opens the file when it exists (keeping a connection that is already
  // open) and checks that it is a readable SQLite database; otherwise creates
  // it. Either way the schema's IF NOT EXISTS statements run, so a file left
  // empty or half-created gets its missing tables and an older file the
  // indexes added since; a file that still lacks a table is refused. The
  // result is also kept as IsOpened().
  bool OpenForDevice(const std::wstring& directory, const std::wstring& name);
  // The reset of all data: OpenForDevice, then ClearAll whatever the result.
  // A file that SQLite finds is no database, or damaged, is first set aside
  // as "<file>.unreadable" (with its write-ahead log) and a new one created,
  // so the reset ends with a working database wherever the folder allows it.
  // Returns the open result.
  bool OpenAndClear(const std::wstring& directory, const std::wstring& name);
  // Chooses the file of a device type: closes an open database, opens the
  // file named after the catalogue's `device_attr` text (`name`) and records
  // `device_type`. Returns the open result.
  bool OpenDeviceDatabase(const std::wstring& directory, const std::wstring& name, int device_type);
  // Creates (or opens with creation) the file at the current path and runs
  // every schema statement; true at once when a connection is open. False
  // when the open or any statement failed (the connection stays open then).
  bool CreateSchema();
  // Empties every table and restarts numbering, in one transaction. Results
  // are ignored, so a table missing from the file does not stop the others.
  void ClearAll();
  // Runs `body` under the lock inside one transaction. It is committed when
  // `body` returns true; when `body` returns false or the commit fails,
  // every statement of `body` is taken back. True only when committed.
  // `body` must not begin a transaction of its own (savepoints are fine).
  bool RunTransaction(const std::function<bool()>& body);
  bool Close();
  bool IsOpen() const;
  bool IsOpened() const { return opened_.load(); }
  // UTF-8 text of the full path of the database file.
  std::string GetPath() const;

  // The device type the database was opened for; above 200 means the Nordic
  // family, whose defaults differ.
  void SetDeviceType(int device_type) { device_type_.store(device_type); }
  int GetDeviceType() const { return device_type_.load(); }
  bool IsNordic() const { return GetDeviceType() > kLastWiredDeviceType; }

  // Where ResetConfigDefaults learns the active device's connection mode.
  // Without a source it assumes no device (-1).
  void SetConnectionModeSource(ConnectionModeSource source);

  // The lock every row operation holds; callers that need several operations
  // to be seen as one take it too.
  std::recursive_mutex& Lock() const { return lock_; }

  // ------------------------------------------------- configuration values
  // The value of `key` in `profile`; false and an empty value when no row.
  bool GetConfigValue(int profile, const std::wstring& key, std::wstring& value);
  // Updates an existing row; never inserts, so a key without a row reports
  // success and stores nothing.
  bool SetConfigValue(int profile, const std::wstring& key, const std::wstring& value);
  // Inserts the 25 default rows of a new profile (family by device type).
  void InsertDefaultConfig(int profile);
  // Writes the defaults back into the rows that exist, "version" excepted.
  void ResetConfigDefaults(int profile);

  // -------------------------------------------------------------- profiles
  // Inserts a profile (name and app of the record) with its default rows;
  // the new profile number, 0 on failure.
  int AddProfile(const ProfileRecord& record);
  int LoadProfiles(RecordList<ProfileRecord>& list);
  // Marks `profile` the only active one.
  bool SetActiveProfile(int profile);
  // The number of the active profile, 0 when none is active.
  int GetActiveProfile();
  // True when a profile of this number exists.
  bool HasProfile(int profile);
  // When the database has no profile: adds the five default profiles (named
  // by the text ids "800", "801", "811", "821", "831", numbered 1 to 5) and
  // makes profile 1 active. Then, when no profile is active, makes profile 1
  // active. Returns the active profile number (0 when still none).
  int EnsureDefaultProfiles();

  // ----------------------------------------------------------- button rows
  // Replaces the row of (profile, fn_layer, key_code). A record whose
  // macro_value and macro_value2 are both 0 only removes the row and returns
  // 0. Otherwise returns the new key_id, or 0 when the insert failed, in
  // which case the old row is kept.
  int SaveKeyRecord(const KeyMacroRecord& record);
  // The readers and UpdateKeyDesc always use layer 0, whatever `layer` says.
  bool GetKeyRecord(int profile, int layer, int key_code, KeyMacroRecord& out);
  bool UpdateKeyDesc(int profile, int layer, int key_code, const std::wstring& macro_desc);
  int LoadKeyRecords(int profile, int layer, RecordList<KeyMacroRecord>& list);
  bool DeleteProfileKeys(int profile);

  // ---------------------------------------------------------- lighting rows
  // Updates the row of (profile, mode); no row means success and no change.
  bool UpdateLight(int profile, int mode, const LightRecord& record);
  bool SetActiveLightMode(int profile, int mode);
  int GetActiveLightMode(int profile);
  bool GetLight(int profile, int mode, LightRecord& out);
  int LoadLights(int profile, RecordList<LightRecord>& list);

  // ----------------------------------------------------- macros and steps
  // New macro_id, 0 on failure. The name-only form stores play_type 0,
  // play_times 1, delay_type 1, delay_time 0.
  int AddMacro(const std::wstring& name);
  int AddMacro(const MacroRecord& record);
  bool RenameMacro(int macro_id, const std::wstring& name);
  bool UpdateMacro(int macro_id, const MacroRecord& record);
  // Deletes the macro and, only when that succeeded, its steps.
  bool DeleteMacro(int macro_id);
  bool GetMacro(int macro_id, MacroRecord& out);
  int LoadMacros(RecordList<MacroRecord>& list);
  // New record_id, 0 on failure.
  int AddMacroEvent(const MacroEvent& event);
  // Inserts every step in one transaction; a failed step does not stop the
  // others, and the ones inserted are committed.
  void AddMacroEvents(const std::vector<MacroEvent>& events);
  // The steps of a macro in ascending record_index.
  int LoadMacroEvents(int macro_id, RecordList<MacroEvent>& list);
  bool DeleteMacroEvents(int macro_id);

  // ------------------------------------------------ per-program profiles
  // Adds a rule; the new rule_id, 0 on failure. A rule for every other
  // program (match type 0) replaces the one stored before.
  int AddAppRule(const AppRuleRecord& record);
  // Every rule in ascending rule_id; 0 rules in a file without the table.
  int LoadAppRules(RecordList<AppRuleRecord>& list);
  // False when no rule has this id (or the delete failed).
  bool DeleteAppRule(int rule_id);
  // False when no rule has this id (or the update failed).
  bool SetAppRuleProfile(int rule_id, int profile);
  // True when at least one rule is stored: the feature is on.
  bool HasAppRules();

 private:
  bool OpenFile(const std::wstring& directory, const std::wstring& name);
  bool OpenExistingFile();
  bool RunSchemaStatements();
  bool CompleteSchema();
  bool SetAsideUnreadableFile();
  int InsertedId(bool step_succeeded) const;
  int ConnectionMode() const;

  SQLiteDB connection_;
  mutable std::recursive_mutex lock_;
  std::string path_;
  std::atomic<int> device_type_{0};
  std::atomic<bool> opened_{false};
  // The last open of an existing file failed because it is no database or
  // is damaged (not because it is locked or forbidden).
  bool not_a_database_ = false;
  ConnectionModeSource connection_mode_;
};

}  // namespace tk410
