// The wired family's settings commands and the composite routines built on
// them: read all, settings write, the single-value writes, the restore
// sequence and the version labels.

#include <algorithm>
#include <array>

#include "base/text.h"
#include "base/trace.h"
#include "device/device_manager.h"
#include "device/wired_layout.h"
#include "store/config_database.h"
#include "sync/wired_routines.h"
#include "ui/device_main_dlg.h"

namespace tk410 {

namespace {

using Block = WiredSettingsBlock;

constexpr uint8_t kReadForm = 0xA5;   // offset 2 of reads and the light mode write
constexpr uint8_t kWriteForm = 0xAE;  // offset 2 of the settings and value writes
constexpr uint8_t kValueLength = 0x03;
constexpr size_t kValueAt = 10;       // the value of 0x21, 0x22, 0x23
constexpr size_t kStageDpiAt = 11;    // 0x22: DPI, little-endian
constexpr size_t kBatteryLevelAt = 8;
constexpr size_t kBatteryStateAt = 9;
constexpr size_t kFirmwareDigitsAt = 23;
constexpr int kMinDpi = 50;
constexpr int kMaxDpi = 26000;

// Stored sensor_flag bit -> device bit; other bits travel neither way.
constexpr std::array<std::pair<int, uint8_t>, 3> kSensorBits = {{{0x04, 0x10}, {0x08, 0x01}, {0x10, 0x20}}};

uint8_t SensorToDevice(int stored) {
  uint8_t device = 0;
  for (const auto& [s, d] : kSensorBits) {
    if (stored & s) device |= d;
  }
  return device;
}

int SensorFromDevice(uint8_t device) {
  int stored = 0;
  for (const auto& [s, d] : kSensorBits) {
    if (device & d) stored |= s;
  }
  return stored;
}

bool DpiInRange(int dpi) { return dpi >= kMinDpi && dpi <= kMaxDpi; }

std::wstring DpiValueKey(int stage) { return FormatW(L"dpi_group%d_value", stage); }
std::wstring DpiColourKey(int stage) { return FormatW(L"dpi_group%d_rgb", stage); }

}  // namespace

// ------------------------------------------------------------------ helpers

int WiredRoutines::StageIndex() const {
  // Any number may be stored (a profile file carries it as text); one
  // outside the stages is the first stage, as the DPI page shows it.
  const int index = ConfigInt(L"dpi_index");
  return index >= 0 && index < Block::kStages ? index : 0;
}

int WiredRoutines::ConfigInt(const wchar_t* key) const {
  std::wstring value;
  window_.Db().GetConfigValue(window_.current_profile.load(), key, value);
  return WToI(value);
}

void WiredRoutines::StoreConfig(const wchar_t* key, int value) const {
  window_.Db().SetConfigValue(window_.current_profile.load(), key, FormatInt(value));
}

uint8_t WiredRoutines::ProfileIndex() const {
  return static_cast<uint8_t>(window_.current_profile.load() - 1);
}

WiredFrame WiredRoutines::Request(uint8_t command, uint8_t offset2, uint8_t length) const {
  return WiredFrame::Request(command, offset2, length, ProfileIndex());
}

bool WiredRoutines::Exchange(WiredFrame& frame) const { return window_.Devices().ExchangeWired(frame); }

bool WiredRoutines::ReadBattery() {
  WiredFrame f = Request(kWiredBattery, kReadForm, Block::kLength);
  if (!Exchange(f)) return false;
  window_.SetBattery(f[kBatteryLevelAt], f[kBatteryStateAt]);
  return true;
}

// ----------------------------------------------------------------- routines

bool WiredRoutines::ReadAll() {
  bool answered = ReadBattery();
  for (int index = 0; index < WiredKeyTable::kProfiles; ++index) answered = KeyRead(index) && answered;

  WiredFrame f = Request(kWiredSettingsRead, kReadForm, Block::kLength);
  if (!Exchange(f)) return false;
  if (Block::HoldsNothing(f.data())) return answered;  // the mouse holds no settings
  if (Block::IsBlank(f.data())) return WriteSettings() && answered;  // erased: give it the database's
  Block b;
  if (!Block::UnpackFrame(f.data(), f.bytes.size(), &b)) return answered;
  StoreConfig(L"light_mode", b.light_mode);
  StoreConfig(L"report_rate", b.report_rate);
  StoreConfig(L"dpi_flag", b.stage_count);
  StoreConfig(L"dpi_count", b.stage_count);
  StoreConfig(L"dpi_index", std::clamp(b.active_stage - 1, 0, Block::kStages - 1));
  for (int i = 0; i < Block::kStages; ++i) {
    if (DpiInRange(b.dpi[i])) StoreConfig(DpiValueKey(i).c_str(), b.dpi[i]);
  }
  StoreConfig(L"scroll_flag", b.scroll_flag);
  StoreConfig(L"liftoff_height", b.liftoff_height);
  StoreConfig(L"sensor_flag", SensorFromDevice(b.sensor_bits));
  StoreConfig(L"button_respondtime", b.button_respondtime);
  StoreConfig(L"sleep_light", b.sleep_light);
  StoreConfig(L"e-sports_flag", b.esports_flag);
  return answered;
}

bool WiredRoutines::WriteSettings() {
  Block b;
  b.profile_index = ProfileIndex();
  b.light_mode = static_cast<uint8_t>(ConfigInt(L"light_mode"));
  b.report_rate = static_cast<uint8_t>(ConfigInt(L"report_rate"));
  b.stage_count = Block::kStages;
  b.active_stage = static_cast<uint8_t>(StageIndex() + 1);
  for (int i = 0; i < Block::kStages; ++i) {
    const int dpi = ConfigInt(DpiValueKey(i).c_str());
    b.dpi[i] = DpiInRange(dpi) ? static_cast<uint16_t>(dpi) : 0;
    b.colour[i] = static_cast<uint32_t>(ConfigInt(DpiColourKey(i).c_str())) & 0xFFFFFF;
  }
  b.scroll_flag = static_cast<uint8_t>(ConfigInt(L"scroll_flag"));
  b.liftoff_height = static_cast<uint8_t>(ConfigInt(L"liftoff_height"));
  b.sensor_bits = SensorToDevice(ConfigInt(L"sensor_flag"));
  b.button_respondtime = static_cast<uint8_t>(ConfigInt(L"button_respondtime"));
  b.sleep_light = static_cast<uint8_t>(ConfigInt(L"sleep_light"));
  b.esports_flag = static_cast<uint8_t>(ConfigInt(L"e-sports_flag"));
  WiredFrame f = Request(kWiredSettingsWrite, kWriteForm, Block::kLength);
  b.PackFrame(f.data());
  return Exchange(f);
}

bool WiredRoutines::WriteDpiStage() {
  const int index = StageIndex();
  WiredFrame f = Request(kWiredDpiStage, kWriteForm, kValueLength);
  f[kValueAt] = static_cast<uint8_t>(index + 1);
  f.Set16(kStageDpiAt, static_cast<uint16_t>(ConfigInt(DpiValueKey(index).c_str())));
  return Exchange(f);
}

bool WiredRoutines::WriteReportRate() {
  WiredFrame f = Request(kWiredReportRate, kWriteForm, kValueLength);
  f[kValueAt] = static_cast<uint8_t>(ConfigInt(L"report_rate"));
  return Exchange(f);
}

bool WiredRoutines::WriteLightMode() {
  const int mode = ConfigInt(L"light_mode");
  window_.light_value.store(mode);
  WiredFrame f = Request(kWiredLightMode, kReadForm, kValueLength);
  f[kValueAt] = static_cast<uint8_t>(mode);
  return Exchange(f);
}

bool WiredRoutines::RestoreSequence() {
  window_.RefreshProfileList();
  window_.FillFunctionLists();
  window_.selected_button.store(0);
  window_.RefreshKeyPage();
  window_.ShowMacroPage();
  StoreConfig(L"report_rate", window_.Devices().ActiveMode() == 0 ? 4 : 2);
  StoreConfig(L"light_mode", 0);
  window_.LoadPerformancePage();
  bool answered = MacroDownload().answered;
  answered = KeyDownload() && answered;
  answered = WriteSettings() && answered;
  answered = WriteLightMode() && answered;
  return ReadBattery() && answered;
}

bool WiredRoutines::FirmwareVersionLabel() {
  WiredFrame f = WiredFrame::Request(kWiredFirmwareVersion, 0x00, 0x00, 0x00);
  if (!Exchange(f)) return false;
  std::wstring text;
  for (size_t i = 0; i < 3; ++i) {
    const uint8_t c = f[kFirmwareDigitsAt + i];
    if (i > 0) text += L'.';
    text += (c >= '0' && c <= '9') ? static_cast<wchar_t>(c) : L'0';
  }
  if (auto* label = window_.Control<PLKUI::MControlFont>(ctl::kVersionLabelA)) label->SetTitle(text);
  return true;
}

void WiredRoutines::VersionLabels() {
  DeviceManager& devices = window_.Devices();
  auto* first = window_.Control<PLKUI::MControlFont>(ctl::kVersionLabelA);
  auto* second = window_.Control<PLKUI::MControlFont>(ctl::kVersionLabelB);
  std::wstring text;
  devices.ReadVersionFeature(&text, 0);
  if (text.empty()) text = L"0.0.0";
  if (first) first->SetTitle(text);
  if (second) second->SetTitle(L"0.0.0");
  const int mode = devices.ActiveMode();
  if (mode == 1 || mode == 3) {
    for (int selector : {1, 3}) {
      std::wstring receiver = L"0.0.0";
      devices.ReadVersionFeature(&receiver, selector);
      if (second) second->SetTitle(receiver);
    }
  }
}

}  // namespace tk410
