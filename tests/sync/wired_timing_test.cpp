// The wired routines against a mouse with real timing: the DPI button
// pressed while a read runs, a reply that comes after its time-out, a reply
// sent twice. The database must end equal to the mouse, every profile's key
// table in its own profile, and the status report applied, not lost.

#include <gtest/gtest.h>

#include <map>
#include <tuple>

#include "assign/button_function.h"
#include "base/text.h"
#include "device/scripted_firmware.h"
#include "macro/macro_steps.h"
#include "sim/timing_faults.h"
#include "sync/sync_task.h"
#include "wired_rig.h"

namespace tk410 {
namespace {

using testing::ScriptedReport;
using testing::ScriptedWiredMouse;
using Bytes = std::vector<uint8_t>;

constexpr uint32_t kLatencyMs = 200;  // every reply comes this long after its request
constexpr const wchar_t* kSettingKeys[] = {
    L"light_mode", L"report_rate", L"dpi_index", L"dpi_group0_value", L"dpi_group1_value",
    L"dpi_group2_value", L"dpi_group3_value", L"dpi_group4_value", L"dpi_group5_value",
    L"scroll_flag", L"liftoff_height", L"sensor_flag", L"button_respondtime", L"sleep_light",
    L"e-sports_flag"};

// Key rows of profiles 1..6 and the current profile's settings.
struct Snapshot {
  std::map<int, std::vector<std::tuple<int, int, int, int>>> keys;  // profile -> (key, kind, value, value2)
  std::map<std::wstring, std::wstring> settings;
  bool operator==(const Snapshot&) const = default;
};

void PrintTo(const Snapshot& s, std::ostream* os) {
  for (const auto& [profile, rows] : s.keys) {
    *os << "\n  profile " << profile << ":";
    for (const auto& [key, kind, value, value2] : rows) *os << " " << key << "=" << kind << "/" << value << "/" << value2;
  }
  for (const auto& [key, value] : s.settings) *os << "\n  " << ToUtf8(key) << "=" << ToUtf8(value);
}

// Profiles 1..5 each with their own assignments, and some settings.
void FillProfiles(WiredRig& rig) {
  ConfigDatabase& db = rig.Db();
  for (int p = 1; p <= 5; ++p) {
    db.SaveKeyRecord(KeyRow(p, 1, kKindKeyboard, 0x04 + p, p % 4));
    db.SaveKeyRecord(KeyRow(p, 4, kKindMultimedia, p));
    db.SaveKeyRecord(KeyRow(p, 5, kKindDpiUp, 1));
  }
  rig.SetConfig(L"dpi_index", L"1");
  rig.SetConfig(L"dpi_group2_value", L"3300");
  rig.SetConfig(L"report_rate", L"3");
  rig.SetConfig(L"liftoff_height", L"2");
}

// Forgets what the database knows of the mouse.
void ForgetTheMouse(WiredRig& rig) {
  for (int p = 1; p <= 6; ++p) rig.Db().DeleteProfileKeys(p);
  rig.Db().ResetConfigDefaults(1);
}

Snapshot TakeSnapshot(WiredRig& rig) {
  Snapshot s;
  for (int p = 1; p <= 6; ++p) {
    RecordList<KeyMacroRecord> rows;
    rig.Db().LoadKeyRecords(p, 0, rows);
    for (const auto& r : rows) s.keys[p].emplace_back(r->key_code, r->macro_type, r->macro_value, r->macro_value2);
  }
  for (const wchar_t* key : kSettingKeys) s.settings[key] = rig.Config(key);
  return s;
}

class WiredTimingTest : public ::testing::Test {
 protected:
  WiredTimingTest() : rig_(nullptr, L"TK410", mouse_.Device()) {
    rig_.AddStatusControls();
    rig_.Window().online.store(true);

    FillDatabase();
    rig_.Window().RunTask(kTaskWriteAll);
  }

  void FillDatabase() { FillProfiles(rig_); }

  // Every reply `kLatencyMs` after its request; `shape` may change request n's.
  void Shape(std::function<void(int, const Bytes&, std::vector<ScriptedReport>&, WiredFirmware&)> shape) {
    mouse_.SetShaper([shape](int n, const Bytes& request, std::vector<ScriptedReport>& reports,
                             WiredFirmware& firmware) {
      for (auto& r : reports) r.delay_ms = kLatencyMs;
      if (shape) shape(n, request, reports, firmware);
    });
  }

  void WipeDatabase() { ForgetTheMouse(rig_); }
  Snapshot Take() { return TakeSnapshot(rig_); }

  // What a read of the unhindered mouse stores.
  Snapshot Reference() {
    Shape(nullptr);
    WipeDatabase();
    rig_.Routines().ReadAll();
    Snapshot s = Take();
    WipeDatabase();
    return s;
  }

  int RequestNumberOf(uint8_t command, uint8_t index) {
    const auto written = mouse_.Written();
    for (size_t i = 0; i < written.size(); ++i) {
      if (written[i][WiredFrame::kCommand] == command && written[i][WiredFrame::kProfileIndex] == index)
        return static_cast<int>(i) + 1;
    }
    return -1;
  }

  bool Checked(int id) { return rig_.Checked(id); }

  ScriptedWiredMouse mouse_;
  WiredRig rig_;
};

// The DPI button is pressed (stage 3, report rate 2) while the third key
// table is read: the report comes between the request and its reply.
TEST_F(WiredTimingTest, StatusReportDuringReadAllIsAppliedAndKeysStayInTheirProfiles) {
  mouse_.WithFirmware([](WiredFirmware& f) {
    f.SetActiveStage(3);  // the state the report will tell; the reference reads it too
    f.SetReportRate(2);
    return 0;
  });
  const Snapshot reference = Reference();
  ASSERT_EQ(std::get<2>(reference.keys.at(3).front()), 0x07);  // key 1 of profile 3
  ASSERT_EQ(reference.settings.at(L"dpi_index"), L"2");

  const int base = static_cast<int>(mouse_.Written().size());
  int key_reads = 0;
  Shape([&](int, const Bytes& request, std::vector<ScriptedReport>& reports, WiredFirmware&) {
    if (request[WiredFrame::kCommand] != kWiredKeyRead || ++key_reads != 3) return;
    reports.insert(reports.begin(), ScriptedReport{ScriptedWiredMouse::Status(0x10, 3, 2), kLatencyMs / 2});
  });
  rig_.Routines().ReadAll();
  EXPECT_EQ(key_reads, 6);
  EXPECT_EQ(Take(), reference);
  // The report was applied as the status poll applies it: stage control,
  // slider (DPI / 100) and report-rate button.
  EXPECT_TRUE(Checked(ctl::kFirstDpiStage + 2));
  EXPECT_EQ(rig_.Window().current_dpi_control.load(), ctl::kFirstDpiStage + 2);
  EXPECT_EQ(rig_.Window().Control<PLKUI::DPISlider>(ctl::kDpiSlider)->GetProgress(), 12);
  EXPECT_TRUE(Checked(ctl::kFirstRate + 1));
  // No request was repeated: the report did not cost an exchange its reply.
  EXPECT_EQ(static_cast<int>(mouse_.Written().size()) - base, 1 + 6 + 1);
}

// The DPI button was pressed before the write: its report waits on the
// interface. It is applied before the first request goes out, so the
// write sends the new stage instead of putting the old one back.
TEST_F(WiredTimingTest, StatusReportQueuedBeforeAWriteIsAppliedNotLost) {
  mouse_.WithFirmware([](WiredFirmware& f) {
    f.SetActiveStage(5);
    return 0;
  });
  mouse_.Device()->Raise(ScriptedWiredMouse::Status(0x10, 5, 3));
  rig_.Window().RunTask(kTaskWriteAll);
  EXPECT_EQ(rig_.Config(L"dpi_index"), L"4");
  EXPECT_TRUE(Checked(ctl::kFirstDpiStage + 4));
  const auto settings = mouse_.WithFirmware([](WiredFirmware& f) { return f.Settings(0); });
  EXPECT_EQ(settings[WiredSettingsBlock::kActiveStageAt - WiredSettingsBlock::kFrameOffset], 5);
}

// One reply of a write-all comes after its time-out, or twice: the exchanges
// after it still pair each request with its own reply, so the read that
// follows stores what the mouse holds.
TEST_F(WiredTimingTest, LateOrDuplicatedReplyInAWriteAllLeavesTheNextReadIntact) {
  const Snapshot reference = Reference();
  const int key_write = RequestNumberOf(kWiredKeyWrite, 1) - RequestNumberOf(kWiredMacroChunk, 0);
  struct Case {
    const char* what;
    std::function<void(std::vector<ScriptedReport>&)> change;
  };
  const Case cases[] = {
      {"late", [](std::vector<ScriptedReport>& r) { r.front().delay_ms = 1600; }},
      {"twice", [](std::vector<ScriptedReport>& r) { r.push_back({r.front().bytes, kLatencyMs + 5}); }},
  };
  for (const Case& c : cases) {
    FillDatabase();
    const int first = static_cast<int>(mouse_.Written().size()) + 1;
    Shape([&](int n, const Bytes&, std::vector<ScriptedReport>& reports, WiredFirmware&) {
      if (n == first + key_write && !reports.empty()) c.change(reports);
    });
    // The mouse answered every request (the late one on its repetition).
    EXPECT_TRUE(rig_.Window().RunTask(kTaskWriteAll)) << c.what;
    WipeDatabase();
    EXPECT_TRUE(rig_.Routines().ReadAll()) << c.what;
    EXPECT_EQ(Take(), reference) << c.what;
    rig_.Manual().AdvanceMs(5000);  // let anything still under way arrive
    WipeDatabase();
    rig_.Routines().ReadAll();
  }
}


// The same faults raised by the virtual mouse's own switches, as the
// command line and the uhid mouse raise them.
class TimingFaultSwitchTest : public ::testing::Test {
 protected:
  TimingFaultSwitchTest() {
    rig_.AddStatusControls();
    rig_.Window().online.store(true);
    rig_.Mouse().SetReplyLatencyMs(300);  // a late reply then lands inside the next exchange
    FillProfiles(rig_);
    rig_.Window().RunTask(kTaskWriteAll);
  }

  // The request number (1-based, from the next request) of the `nth` request
  // with `command` in a task like the last one.
  int NthRequest(uint8_t command, int nth) {
    int seen = 0;
    const auto requests = rig_.Requests();
    for (size_t i = 0; i < requests.size(); ++i) {
      if (requests[i][WiredFrame::kCommand] == command && ++seen == nth) return static_cast<int>(i) + 1;
    }
    return -1;
  }

  Snapshot ReadIntoEmptyDatabase() {
    ForgetTheMouse(rig_);
    rig_.ClearRequests();
    EXPECT_TRUE(rig_.Routines().ReadAll());
    return TakeSnapshot(rig_);
  }

  WiredRig rig_;
};

// The DPI button is pressed while read-all reads the third key table: the
// mouse moves to stage 5 and its status report comes before the key reply.
TEST_F(TimingFaultSwitchTest, StrayReportBeforeTheThirdKeyReplyOfAReadAll) {
  const Snapshot reference = ReadIntoEmptyDatabase();
  const int third_key_read = NthRequest(kWiredKeyRead, 3);
  ASSERT_GT(third_key_read, 0);

  rig_.Mouse().SetStrayStage(5);
  rig_.Mouse().AddTimingFault(TimingFault::kStrayReport, third_key_read);
  Snapshot read = ReadIntoEmptyDatabase();
  EXPECT_EQ(read.keys, reference.keys);  // every key table in its own profile
  EXPECT_EQ(read.settings.at(L"dpi_index"), L"4");
  read.settings[L"dpi_index"] = reference.settings.at(L"dpi_index");
  EXPECT_EQ(read.settings, reference.settings);
  // The database holds what the mouse holds, and the page shows it.
  const auto block = rig_.Firmware().Settings(0);
  EXPECT_EQ(block[WiredSettingsBlock::kActiveStageAt - WiredSettingsBlock::kFrameOffset], 5);
  EXPECT_TRUE(rig_.Checked(ctl::kFirstDpiStage + 4));
  EXPECT_EQ(rig_.Window().current_dpi_control.load(), ctl::kFirstDpiStage + 4);
}

// A reply of the second key write comes after the time-out, or twice: the
// write still puts every table in the mouse, and no reply is left over to
// be taken by a later exchange (the read that follows stores the mouse).
TEST_F(TimingFaultSwitchTest, LateOrDuplicatedReplyInTheMiddleOfAWriteAll) {
  const Snapshot reference = ReadIntoEmptyDatabase();
  FillProfiles(rig_);
  rig_.ClearRequests();
  ASSERT_TRUE(rig_.Window().RunTask(kTaskWriteAll));
  const int second_key_write = NthRequest(kWiredKeyWrite, 2);
  ASSERT_GT(second_key_write, 0);
  const WiredFirmware written = rig_.Firmware();

  for (TimingFault fault : {TimingFault::kLateReply, TimingFault::kDuplicateReply}) {
    SCOPED_TRACE(TimingFaultName(fault));
    FillProfiles(rig_);
    rig_.Mouse().AddTimingFault(fault, second_key_write);
    EXPECT_TRUE(rig_.Window().RunTask(kTaskWriteAll));
    const WiredFirmware now = rig_.Firmware();
    for (int p = 0; p < 5; ++p) {
      EXPECT_EQ(now.Keys(p), written.Keys(p)) << "profile " << p + 1;
      EXPECT_EQ(now.Settings(p), written.Settings(p)) << "profile " << p + 1;
    }
    EXPECT_EQ(ReadIntoEmptyDatabase(), reference);
    rig_.Manual().AdvanceMs(5000);  // nothing of this round reaches the next
  }
}

}  // namespace
}  // namespace tk410
