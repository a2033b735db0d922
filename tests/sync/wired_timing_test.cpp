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

class WiredTimingTest : public ::testing::Test {
 protected:
  WiredTimingTest() : rig_(nullptr, L"TK410", mouse_.Device()) {
    DeviceMainDlg& w = rig_.Window();
    const PLKUI::MRect r{0, 0, 10, 10};
    for (int id = ctl::kFirstDpiStage; id <= ctl::kLastDpiStage; ++id) {
      auto* stage = static_cast<PLKUI::DPIControl*>(w.CreateControl(L"DPIControl", id, r, L""));
      stage->SetDPIValue(400 * (id - ctl::kFirstDpiStage + 1));
    }
    w.CreateControl(L"DPISlider", ctl::kDpiSlider, r, L"");
    for (int id = ctl::kFirstRate; id <= ctl::kLastRate; ++id) w.CreateControl(L"ColorButtonEx", id, r, L"");
    w.CreateControl(L"BatteryCtrl", ctl::kBattery, r, L"");
    w.online.store(true);

    FillDatabase();
    w.RunTask(kTaskWriteAll);
  }

  // Profiles 1..5 each with their own assignments, and some settings.
  void FillDatabase() {
    ConfigDatabase& db = rig_.Db();
    for (int p = 1; p <= 5; ++p) {
      db.SaveKeyRecord(KeyRow(p, 1, kKindKeyboard, 0x04 + p, p % 4));
      db.SaveKeyRecord(KeyRow(p, 4, kKindMultimedia, p));
      db.SaveKeyRecord(KeyRow(p, 5, kKindDpiUp, 1));
    }
    rig_.SetConfig(L"dpi_index", L"1");
    rig_.SetConfig(L"dpi_group2_value", L"3300");
    rig_.SetConfig(L"report_rate", L"3");
    rig_.SetConfig(L"liftoff_height", L"2");
  }

  // Every reply `kLatencyMs` after its request; `shape` may change request n's.
  void Shape(std::function<void(int, const Bytes&, std::vector<ScriptedReport>&, WiredFirmware&)> shape) {
    mouse_.SetShaper([shape](int n, const Bytes& request, std::vector<ScriptedReport>& reports,
                             WiredFirmware& firmware) {
      for (auto& r : reports) r.delay_ms = kLatencyMs;
      if (shape) shape(n, request, reports, firmware);
    });
  }

  // Forgets what the database knows of the mouse.
  void WipeDatabase() {
    for (int p = 1; p <= 6; ++p) rig_.Db().DeleteProfileKeys(p);
    rig_.Db().ResetConfigDefaults(1);
  }

  Snapshot Take() {
    Snapshot s;
    for (int p = 1; p <= 6; ++p) {
      RecordList<KeyMacroRecord> rows;
      rig_.Db().LoadKeyRecords(p, 0, rows);
      for (const auto& r : rows) s.keys[p].emplace_back(r->key_code, r->macro_type, r->macro_value, r->macro_value2);
    }
    for (const wchar_t* key : kSettingKeys) s.settings[key] = rig_.Config(key);
    return s;
  }

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

  bool Checked(int id) { return rig_.Window().Control<PLKUI::MCheckControl>(id)->GetCheck() != 0; }

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

}  // namespace
}  // namespace tk410
