// The window, its worker turns and the virtual receiver: start with the
// mouse unlinked, link it, change settings and assignments, write, unlink.

#include "assign/button_function.h"
#include "macro/macro_steps.h"
#include "sim/virtual_nordic_device.h"
#include "ui/window_fixture.h"

namespace tk410 {
namespace {

using Bytes = std::vector<uint8_t>;
using testing::kNordicCatalog;

class NordicEndToEnd : public testing::WindowFixture {
 protected:
  void SetUp() override {
    receiver_ = std::make_shared<VirtualNordicDevice>(VirtualNordicDevice::Receiver(1));
    receiver_->SetLinked(false, true);
    bus_->Attach(receiver_);
    MakeWindow(kNordicCatalog);
    const PLKUI::MRect r{0, 0, 10, 10};
    for (int id : {ctl::kVersionLabelA, ctl::kVersionLabelB}) window_->CreateControl(L"MText", id, r, L"");
  }

  // Start-up as for a Nordic product: the catalogue, device type 201 in
  // the setting, the device manager and the window, the database of that
  // type, the first scan, InitialSync.
  void StartNordic() {
    window_->LoadCatalogue();
    stored_type_ = 201;
    devices_.SetCurrentDeviceType(201);
    devices_.ClearActiveHandle();
    window_->current_device_type.store(201);
    window_->OpenSettingsDatabase();
    window_->ScanAndUpdate();
    window_->Enqueue(kTaskInitialSync);
    RunQueue();
  }

  // One idle turn after the poll interval.
  void IdleTurn() {
    clock_.AdvanceMs(250);
    window_->WorkerTurn();
  }

  std::wstring Config(const wchar_t* key) {
    std::wstring v;
    db_.GetConfigValue(window_->current_profile.load(), key, v);
    return v;
  }
  NordicFirmware Firmware() { return receiver_->WithFirmware([](NordicFirmware& f) { return f; }); }

  std::shared_ptr<VirtualNordicDevice> receiver_;
};

TEST_F(NordicEndToEnd, LinkWriteUnlink) {
  StartNordic();
  EXPECT_TRUE(window_->IsNordicFamily());
  EXPECT_EQ(db_.GetDeviceType(), 201);
  EXPECT_TRUE(window_->online.load());
  EXPECT_FALSE(window_->connected.load());
  EXPECT_EQ(ConnectionText(), L"not linked");
  EXPECT_FALSE(Tabs()->IsEnabled());
  EXPECT_EQ(Tabs()->GetSelectItem(), 0);

  // The mouse links: the receiver reports it and the program reads it all.
  receiver_->SetLinked(true);
  IdleTurn();
  EXPECT_EQ(devices_.ActiveMode(), 1);
  EXPECT_TRUE(window_->connected.load());
  EXPECT_TRUE(Tabs()->IsEnabled());
  EXPECT_EQ(ConnectionText(), L"receiver");
  EXPECT_EQ(Config(L"dpi_group0_value"), L"800");
  EXPECT_EQ(Config(L"sensor_flag"), L"20");
  EXPECT_EQ(window_->Control<PLKUI::MControlFont>(ctl::kVersionLabelA)->GetTitle(), L"1.0.5");
  EXPECT_EQ(window_->Control<PLKUI::MControlFont>(ctl::kVersionLabelB)->GetTitle(), L"2.0.1");

  // The user changes settings and buttons and presses write.
  const int profile = window_->current_profile.load();
  db_.SetConfigValue(profile, L"dpi_group2_value", L"5000");
  db_.SetConfigValue(profile, L"report_rate", L"3");
  db_.SetConfigValue(profile, L"scroll_flag", L"2");
  db_.SetConfigValue(profile, L"liftoff_height", L"2");
  KeyMacroRecord ctrl_a;
  ctrl_a.profile = profile;
  ctrl_a.key_code = 1;
  ctrl_a.macro_type = kKindKeyboard;
  ctrl_a.macro_value = 0x04;
  ctrl_a.macro_value2 = kModCtrl;
  db_.SaveKeyRecord(ctrl_a);
  const int macro = db_.AddMacro(L"tap");
  db_.AddMacroEvents({MacroEvent{0, macro, static_cast<int>(MacroEventType::KeyDown), 0, 0x41, 0, L""},
                      MacroEvent{0, macro, static_cast<int>(MacroEventType::KeyUp), 1, 0x41, 0, L""}});
  KeyMacroRecord macro_row = ctrl_a;
  macro_row.key_code = 5;
  macro_row.macro_type = kKindMacro;
  macro_row.macro_value = macro;
  macro_row.macro_value2 = 0;
  db_.SaveKeyRecord(macro_row);
  window_->Enqueue(kTaskWriteAll);
  RunQueue();
  Pump();
  EXPECT_EQ(window_->results, std::vector<intptr_t>{1});

  // The mouse holds them; its own settings bytes are untouched.
  const NordicFirmware fw = Firmware();
  const auto& block = fw.Settings(profile - 1);
  EXPECT_EQ(Bytes(block.begin() + 16, block.begin() + 20), (Bytes{0x88, 0x13, 0x88, 0x13}));
  EXPECT_EQ(block[5], 3);
  EXPECT_EQ(block[4] & 0x80, 0x80);
  EXPECT_EQ(block[6], 0x1F);
  EXPECT_EQ(block[50], 2);
  const auto original = NordicFirmware::DefaultSettings(profile - 1);
  for (size_t i = 0; i < block.size() - 1; ++i) {
    if (NordicFirmware::IsDeviceOwned(i)) {
      EXPECT_EQ(block[i], original[i]) << i;
    }
  }
  const auto& keys = fw.Keys(profile - 1);
  EXPECT_EQ(Bytes(keys.begin(), keys.begin() + 4), (Bytes{0x00, 0x01, 0x04, 0x00}));
  EXPECT_EQ(Bytes(keys.begin() + 16, keys.begin() + 20), (Bytes{0x09, 0x01, 0x00, 0x00}));
  ASSERT_EQ(fw.Macros().count(0), 1u);
  EXPECT_EQ(fw.Macros().at(0).Length(), 48u);
  EXPECT_GE(fw.Commits(), 1);

  // The mouse drops off: battery (0, 2), the receiver offline, tabs off.
  receiver_->SetLinked(false);
  IdleTurn();
  EXPECT_EQ(devices_.ActiveMode(), -1);
  EXPECT_FALSE(window_->connected.load());
  EXPECT_FALSE(Tabs()->IsEnabled());
  EXPECT_EQ(ConnectionText(), L"not linked");
  auto* battery = window_->Control<PLKUI::BatteryCtrl>(ctl::kBattery);
  EXPECT_EQ(battery->GetBatteryLevel(), 0);
  EXPECT_EQ(battery->GetBatteryState(), 2);
}

// The read button reads the Nordic mouse with its own command set.
TEST_F(NordicEndToEnd, ReadButtonReadsTheNordicMouse) {
  receiver_->SetLinked(true, true);
  StartNordic();
  ASSERT_TRUE(window_->connected.load());
  receiver_->WithFirmware([](NordicFirmware& f) {
    f.SetReportRate(1);
    return 0;
  });
  window_->Enqueue(kTaskReadAll);
  RunQueue();
  EXPECT_EQ(Config(L"report_rate"), L"1");
}

// The mouse's own profile button chose profile 3 since the last read: the
// read follows it. The profile list shows profile 3, which stays the active
// profile when the list is built again, and the mouse's values land there.
TEST_F(NordicEndToEnd, ReadFollowsTheMouseToAnotherProfile) {
  auto* combo = static_cast<PLKUI::MComboBox*>(
      window_->CreateControl(L"MComboBox", ctl::kProfileCombo, PLKUI::MRect{0, 0, 10, 10}, L""));
  receiver_->SetLinked(true, true);
  StartNordic();
  ASSERT_EQ(window_->current_profile.load(), 1);
  ASSERT_EQ(combo->GetCurData(), 1);
  receiver_->WithFirmware([](NordicFirmware& f) {
    // Select profile index 2, as the mouse's profile button does: 02 00 82 01 02.
    NordicFrame select;
    select[0] = 0x02;
    select[2] = 0x82;
    select[3] = 0x01;
    select[4] = 0x02;
    select[63] = NordicFrame::CheckByte(select.data());
    f.Handle(select.data(), NordicFrame::kSize);
    f.SetReportRate(1);
    return 0;
  });
  const std::wstring rate_before = Config(L"report_rate");
  ASSERT_NE(rate_before, L"1");

  window_->Enqueue(kTaskReadAll);
  RunQueue();
  EXPECT_EQ(window_->current_profile.load(), 3);
  EXPECT_EQ(combo->GetCurData(), 3);
  EXPECT_EQ(db_.GetActiveProfile(), 3);
  std::wstring rate;
  db_.GetConfigValue(3, L"report_rate", rate);
  EXPECT_EQ(rate, L"1");
  db_.GetConfigValue(1, L"report_rate", rate);
  EXPECT_EQ(rate, rate_before);  // profile 1 keeps its values

  // Building the list again (a language change does) keeps profile 3.
  window_->RefreshProfileList();
  EXPECT_EQ(window_->current_profile.load(), 3);
  EXPECT_EQ(combo->GetCurData(), 3);
}

}  // namespace
}  // namespace tk410
