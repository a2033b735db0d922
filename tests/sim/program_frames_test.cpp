// Every request the program's routines build is one the strict virtual
// firmware understands: whole write and read sequences reach it without a
// single refused request.

#include <gtest/gtest.h>

#include <map>

#include "assign/button_function.h"
#include "macro/macro_steps.h"
#include "nordic/nordic_rig.h"
#include "sync/wired_rig.h"

namespace tk410 {
namespace {

using T = MacroEventType;

// A macro of `steps` key presses and releases of A.
int AddKeyMacro(ConfigDatabase& db, const wchar_t* name, int presses) {
  const int id = db.AddMacro(name);
  std::vector<MacroEvent> events;
  for (int i = 0; i < presses; ++i) {
    events.push_back(MacroEvent{0, id, static_cast<int>(T::KeyDown), 2 * i, 0x41, 0, L""});
    events.push_back(MacroEvent{0, id, static_cast<int>(T::KeyUp), 2 * i + 1, 0x41, 0, L""});
  }
  db.AddMacroEvents(events);
  return id;
}

// Macro download (several 0x0D chunks and 0x10), key download of profiles
// 1..5, the default key form, the settings and single-value writes, read
// all (battery, six key reads, settings), the firmware read and the restore
// sequence: every request answered, none refused.
TEST(ProgramFramesOnStrictFirmware, WiredRoutinesAreAllUnderstood) {
  WiredRig rig;
  ConfigDatabase& db = rig.Db();
  const int longer = AddKeyMacro(db, L"long", 20);
  const int tap = AddKeyMacro(db, L"tap", 1);  // image of 64 + 160 + 8 bytes: five chunks
  db.SaveKeyRecord(KeyRow(1, 2, kKindMacro, longer));
  db.SaveKeyRecord(KeyRow(3, 5, kKindMacro, tap));
  db.SaveKeyRecord(KeyRow(5, 11, kKindKeyboard, 0x04, 0x02));
  rig.Window().current_profile.store(5);

  WiredRoutines r = rig.Routines();
  EXPECT_TRUE(r.MacroDownload().Complete());
  r.KeyDownload();
  r.DefaultKeyWrite();
  r.WriteSettings();
  r.WriteDpiStage();
  r.WriteReportRate();
  r.WriteLightMode();
  EXPECT_TRUE(r.ReadAll());
  r.FirmwareVersionLabel();
  r.RestoreSequence();

  const size_t requests = rig.Requests().size();
  EXPECT_GT(requests, 25u);
  const WiredFirmware fw = rig.Firmware();
  EXPECT_EQ(fw.RejectedRequests(), 0);
  EXPECT_EQ(fw.CommandsHandled(), static_cast<int>(requests));
}

// The Nordic routines for a mouse on a cable and behind a receiver in both
// receiver modes: read all, the settings and report-rate writes, profile
// selection, a whole profile download with a macro of two chunks, restores,
// factory reset, commit, the versions and the status poll.
TEST(ProgramFramesOnStrictFirmware, NordicRoutinesAreAllUnderstood) {
  for (const VirtualNordicOptions& options :
       {VirtualNordicDevice::Direct(), VirtualNordicDevice::Receiver(1), VirtualNordicDevice::Receiver(3)}) {
    SCOPED_TRACE(options.mode);
    NordicRig rig(options);
    NordicProtocol p = rig.Protocol();
    ASSERT_TRUE(p.ReadNordicAll());
    // Assigned after the read, which stores the mouse's own buttons.
    ConfigDatabase& db = rig.Db();
    const int macro = AddKeyMacro(db, L"long", 5);  // 40 + 40 bytes: two chunks
    db.SaveKeyRecord(Row(1, 4, kKindMacro, macro));
    db.SaveKeyRecord(Row(1, 3, kKindDpiUp, 1));
    p.ShowNordicVersions();
    p.WriteNordicSettings();
    p.WriteNordicReportRate();
    rig.Window().current_profile.store(1);
    p.SelectNordicProfile();
    p.DownloadNordicProfile();
    EXPECT_TRUE(p.CommitNordic());
    rig.Window().reset_selector.store(NordicState::kResetButtons | NordicState::kResetLighting);
    EXPECT_TRUE(p.RestoreNordicDefaults());
    rig.Window().selected_button.store(7);
    p.RestoreNordicButton();
    EXPECT_TRUE(p.FactoryResetNordic());
    p.PollNordicStatus(true);

    // Every command of the family was sent, the macro in two chunks.
    std::map<int, int> commands;
    for (const auto& request : rig.Requests()) ++commands[request[0] % 64];
    for (int command : {0, 1, 2, 3, 4, 9, 10}) EXPECT_GT(commands[command], 0) << "command " << command;
    EXPECT_EQ(commands[7], 2);
    EXPECT_EQ(rig.Device().RejectedRequests(), 0);
    EXPECT_EQ(rig.Firmware().OversizeChunks(), 0);
  }
}

}  // namespace
}  // namespace tk410
