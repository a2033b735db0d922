// The Nordic command set: read everything, settings and report-rate writes,
// profile selection, restores, factory reset and commit.

#include <algorithm>
#include <cstring>

#include "base/clock.h"
#include "base/text.h"
#include "base/trace.h"
#include "device/device_manager.h"
#include "nordic/nordic_protocol.h"
#include "store/config_database.h"
#include "ui/device_main_dlg.h"

namespace tk410 {

namespace {

using nordic::kCodeAt;

// Connection label texts.
constexpr int kTextLinked = 52;
constexpr int kTextNotLinked = 53;

// Key-table slots read back into button rows (slots 5 and 6 are not buttons
// of the page).
constexpr int kDecodedSlots[] = {0, 1, 2, 3, 4, 7, 8};

}  // namespace

NordicProtocol::NordicProtocol(DeviceMainDlg& window) : window_(window), state_(window.nordic_state) {}

NordicFrame NordicProtocol::Request(uint8_t command, uint8_t code, uint8_t sub,
                                    std::initializer_list<uint8_t> data) const {
  return nordic::Request(state_.target, command, code, sub, data);
}

bool NordicProtocol::Send(const NordicFrame& request, uint8_t expected, Retry retry, NordicFrame* reply) {
  DeviceManager& devices = window_.Devices();
  NordicFrame frame = request;
  // A failed exchange leaves the request in the frame, whose code may equal
  // the expected one (0xA5, 0xBB): only a real reply counts.
  bool ok = devices.ExchangeNordic(frame) && frame[kCodeAt] == expected;
  if (!ok) {
    if (retry == Retry::kAfterWait) window_.GetClock().SleepMs(kRetryWaitMs);
    frame = request;
    ok = devices.ExchangeNordic(frame) && frame[kCodeAt] == expected;
  }
  if (reply) *reply = frame;
  return ok;
}

bool NordicProtocol::SendOnce(const NordicFrame& request) {
  NordicFrame frame = request;
  return window_.Devices().ExchangeNordic(frame);
}

bool NordicProtocol::IsReceiverMode() const {
  const int mode = window_.Devices().ActiveMode();
  return mode == kModeReceiver || mode == kModeReceiver2;
}

int NordicProtocol::ConfigInt(const wchar_t* key) const {
  std::wstring value;
  window_.Db().GetConfigValue(window_.current_profile.load(), key, value);
  return WToI(value);
}

void NordicProtocol::StoreConfig(const wchar_t* key, int value) const {
  window_.Db().SetConfigValue(window_.current_profile.load(), key, FormatInt(value));
}

void NordicProtocol::ShowLink(bool linked) {
  window_.SetConnectionText(linked ? kTextLinked : kTextNotLinked);
  if (auto* tabs = window_.Control<PLKUI::MTabCtrl>(ctl::kTabs)) {
    if (!linked) window_.SelectTab(0);
    tabs->SetEnabled(linked);
    tabs->RefreshItemData();
  }
  window_.connected.store(linked);
}

void NordicProtocol::RefreshPages() {
  window_.FillFunctionLists();
  window_.selected_button.store(0);
  window_.RefreshKeyPage();
  window_.ShowMacroPage();
  window_.LoadPerformancePage();
}

bool NordicProtocol::QueryNordicLink() {
  state_.target = nordic::kTargetDevice;
  if (!IsReceiverMode()) return true;
  state_.target = nordic::kTargetBehind;
  // The link query always goes to the receiver itself.
  const NordicFrame query =
      nordic::Request(nordic::kTargetDevice, nordic::kCmdStatus, nordic::kCodeRead, nordic::kSubRead);
  NordicFrame reply;
  if (!Send(query, nordic::kCodeStatus, Retry::kAfterWait, &reply)) return true;  // link state as it was
  NordicStatusBlock status;
  NordicStatusBlock::Parse(reply.data(), NordicFrame::kSize, &status);
  state_.linked = status.linked;
  ShowLink(status.linked);
  Trace(kTraceDebug, "Nordic receiver: mouse %s", status.linked ? "linked" : "not linked");
  return status.linked;
}

bool NordicProtocol::ReadNordicAll(bool* answered) {
  state_.key_table.fill(0);
  state_.settings.fill(0);
  if (answered) *answered = false;
  if (!QueryNordicLink()) return false;

  NordicFrame reply;
  bool all = Send(Request(nordic::kCmdStatus, nordic::kCodeRead, nordic::kSubRead), nordic::kCodeStatus,
                  Retry::kAfterWait, &reply);
  if (all) {
    NordicStatusBlock status;
    NordicStatusBlock::Parse(reply.data(), NordicFrame::kSize, &status);
    state_.battery_b = status.battery_b;
    state_.battery_a = status.battery_a;
    window_.SetBattery(status.battery_a, status.battery_b);
    FollowMouseProfile(status.profile_index + 1);
    state_.dpi_stage = status.dpi_stage;
    state_.report_rate = status.report_rate;
    state_.highest_rate = status.highest_rate;
    window_.highest_rate_index.store(status.highest_rate);
  }

  if (Send(Request(nordic::kCmdKeyTable, nordic::kCodeRead, nordic::kSubRead), nordic::kCodeKeyTable,
           Retry::kAfterWait, &reply)) {
    NordicState::Keep(&state_.key_table, reply);
    for (int slot : kDecodedSlots) {
      DecodeNordicKey(slot, reply.data() + NordicKeyTable::kSlotsAt + NordicKeyTable::kSlotSize * slot);
    }
  } else {
    all = false;
  }

  if (Send(Request(nordic::kCmdSettings, nordic::kCodeRead, nordic::kSubRead), nordic::kCodeSettings,
           Retry::kAfterWait, &reply)) {
    NordicState::Keep(&state_.settings, reply);
    StoreSettings(reply);
  } else {
    all = false;
  }
  if (answered) *answered = all;
  return true;
}

void NordicProtocol::FollowMouseProfile(int profile) {
  const int before = window_.current_profile.load();
  window_.current_profile.store(profile);
  if (profile == before) return;
  // Without this the list would go on showing the old profile, and the next
  // build of the list (which takes the database's active profile) would
  // switch the window back to it while the values read are in `profile`.
  ConfigDatabase& db = window_.Db();
  RecordList<ProfileRecord> profiles;
  db.LoadProfiles(profiles);
  const bool known = std::any_of(profiles.begin(), profiles.end(),
                                 [profile](const auto& p) { return p->profile == profile; });
  if (!known || !db.SetActiveProfile(profile)) return;
  window_.RefreshProfileList();
}

void NordicProtocol::StoreSettings(const NordicFrame& block) {
  NordicSettingsBlock s;
  if (!NordicSettingsBlock::Unpack(block.bytes.data(), block.bytes.size(), &s)) return;
  StoreConfig(L"scroll_flag", s.scroll_flag);
  StoreConfig(L"e-sports_flag", s.esports_flag);
  StoreConfig(L"sensor_flag", s.sensor_flag);
  StoreConfig(L"report_rate", s.report_rate);
  StoreConfig(L"dpi_flag", s.dpi_flag);
  StoreConfig(L"dpi_index", s.dpi_index);
  for (int i = 0; i < NordicSettingsBlock::kStages; ++i) {
    StoreConfig(FormatW(L"dpi_group%d_value", i).c_str(), s.dpi[i]);
  }
  StoreConfig(L"liftoff_height", s.liftoff_height);
  StoreConfig(L"button_respondtime", s.button_respondtime);
}

bool NordicProtocol::WriteNordicSettings() {
  PollNordicStatus(true);
  bool answered = true;
  if (!state_.SettingsValid()) {
    NordicFrame reply = Request(nordic::kCmdSettings, nordic::kCodeRead, nordic::kSubRead);
    answered = window_.Devices().ExchangeNordic(reply) && reply[kCodeAt] == nordic::kCodeSettings;
    if (answered) NordicState::Keep(&state_.settings, reply);
    window_.GetClock().SleepMs(kRetryWaitMs);
  }

  // The last block read (zero without one), managed bytes from the settings.
  NordicFrame block;
  if (state_.SettingsValid()) std::memcpy(block.data(), state_.settings.data(), NordicFrame::kSize);
  NordicSettingsBlock s;
  s.sensor_flag = ConfigInt(L"sensor_flag");
  s.scroll_flag = ConfigInt(L"scroll_flag");
  s.esports_flag = ConfigInt(L"e-sports_flag");
  s.report_rate = ConfigInt(L"report_rate");
  s.dpi_flag = ConfigInt(L"dpi_flag");  // read, but the block always carries 0x1F
  s.dpi_index = ConfigInt(L"dpi_index");
  for (int i = 0; i < NordicSettingsBlock::kStages; ++i) {
    s.dpi[i] = ConfigInt(FormatW(L"dpi_group%d_value", i).c_str());
  }
  s.liftoff_height = ConfigInt(L"liftoff_height");
  s.button_respondtime = ConfigInt(L"button_respondtime");
  s.PackInto(block.data());

  NordicFrame request = Request(nordic::kCmdSettings, nordic::kCodeSettings, nordic::kSubBlockWrite);
  std::memcpy(request.data() + nordic::kDataAt, block.data() + nordic::kDataAt,
              NordicFrame::kSentPayload - nordic::kDataAt);
  answered = Send(request, nordic::kCodeSettings, Retry::kAfterWait) && answered;
  window_.GetClock().SleepMs(kSettingsWriteWaitMs);
  PollNordicStatus(true);
  return answered;
}

bool NordicProtocol::WriteNordicReportRate() {
  PollNordicStatus(true);
  const int rate = ConfigInt(L"report_rate");
  return Send(Request(nordic::kCmdSettings, nordic::kCodeAction, nordic::kSubReportRate,
                      {static_cast<uint8_t>(rate)}),
              nordic::kCodeRead, Retry::kAfterWait);
}

bool NordicProtocol::SelectNordicProfile() {
  window_.FillFunctionLists();
  window_.selected_button.store(0);
  window_.RefreshKeyPage();
  window_.LoadPerformancePage();
  PollNordicStatus(true);
  return SendOnce(Request(nordic::kCmdProfile, nordic::kCodeAction, nordic::kSubRead,
                          {static_cast<uint8_t>(window_.current_profile.load() - 1)}));
}

bool NordicProtocol::DownloadNordicProfile() {
  bool answered = SelectNordicProfile();
  answered = DownloadNordicMacros().answered && answered;
  answered = DownloadNordicKeys() && answered;
  answered = WriteNordicSettings() && answered;
  window_.GetClock().SleepMs(kDownloadCommitWaitMs);
  PollNordicStatus(true);
  return SendOnce(Request(nordic::kCmdCommit, nordic::kCodeRead, nordic::kSubRead)) && answered;
}

bool NordicProtocol::RestoreNordicDefaults() {
  const int flags = window_.reset_selector.load();
  bool answered = true;
  if (flags & NordicState::kResetButtons) {
    answered = Send(Request(nordic::kCmdRestore, nordic::kCodeAction, nordic::kSubButtons, {nordic::kAllButtons}),
                    nordic::kCodeAction, Retry::kAfterWait);
    state_.key_table.fill(0);
    window_.GetClock().SleepMs(kRestoreWaitMs);
    window_.FillFunctionLists();
    window_.selected_button.store(0);
    window_.RefreshKeyPage();
  }
  if (flags & NordicState::kResetLighting) {
    answered = SendOnce(Request(nordic::kCmdRestore, nordic::kCodeAction, nordic::kSubLighting,
                                {nordic::kAllButtons})) &&
               answered;
    window_.GetClock().SleepMs(kRestoreWaitMs);
  }
  return answered;
}

bool NordicProtocol::RestoreNordicButton() {
  const bool answered = Send(Request(nordic::kCmdRestore, nordic::kCodeAction, nordic::kSubButtons,
                                     {static_cast<uint8_t>(window_.selected_button.load())}),
                             nordic::kCodeAction, Retry::kAtOnce);
  state_.key_table.fill(0);
  return answered;
}

bool NordicProtocol::FactoryResetNordic() {
  const bool answered = Send(Request(nordic::kCmdRestore, nordic::kCodeAction, nordic::kSubFactory),
                             nordic::kCodeRead, Retry::kAfterWait);
  window_.GetClock().SleepMs(kFactoryResetWaitMs);
  state_.key_table.fill(0);
  state_.settings.fill(0);
  window_.RefreshProfileList();
  RefreshPages();
  return answered;
}

bool NordicProtocol::CommitNordic() {
  PollNordicStatus(true);
  NordicFrame frame = Request(nordic::kCmdCommit, nordic::kCodeRead, nordic::kSubRead);
  return window_.Devices().ExchangeNordic(frame) && frame[kCodeAt] == nordic::kCodeRead;
}

}  // namespace tk410
