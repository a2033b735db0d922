#include "sim/nordic_firmware.h"

#include <algorithm>
#include <cstring>
#include <sstream>

#include "sim/state_text.h"

namespace tk410 {

namespace {

using namespace nordic;
using sim_state::FromHex;
using sim_state::ParseInt;
using sim_state::ToHex;

constexpr char kSaveHeader[] = "tk410-virtual-nordic-mouse 1";
constexpr int kDefaultDpi[] = {800, 1600, 2400, 3200, 4800, 6400};

}  // namespace

size_t NordicFirmware::MacroSlot::Length() const {
  const size_t steps = bytes[NordicMacroImage::kStepCountAt] | bytes[NordicMacroImage::kStepCountAt + 1] << 8;
  return std::min(NordicMacroImage::kStepsAt + NordicMacroImage::kStepSize * steps, NordicMacroImage::kSize);
}

bool NordicFirmware::IsDeviceOwned(size_t offset) {
  return (offset >= 32 && offset <= 49) || (offset >= 51 && offset <= 60) || offset == 62;
}

NordicFirmware::Block NordicFirmware::DefaultSettings(int profile_index) {
  Block b{};
  b[kCodeAt] = kCodeSettings;
  b[kSubAt] = kSubRead;
  NordicSettingsBlock s;
  s.sensor_flag = 20;
  s.report_rate = 2;
  s.dpi_index = 1;
  std::copy(std::begin(kDefaultDpi), std::end(kDefaultDpi), s.dpi.begin());
  s.liftoff_height = 1;
  s.button_respondtime = 4;
  s.PackInto(b.data());
  // The mouse's own bytes: a pattern per profile, never zero.
  for (size_t i = 0; i < b.size(); ++i) {
    if (IsDeviceOwned(i)) b[i] = static_cast<uint8_t>(0xA0 + i + profile_index);
  }
  return b;
}

NordicFirmware::NordicFirmware() {
  for (int p = 0; p < kProfiles; ++p) {
    settings_[p] = DefaultSettings(p);
    keys_[p] = NordicKeyTable::DefaultArea();
  }
}

NordicStatusBlock NordicFirmware::Status() const {
  NordicStatusBlock s;
  s.linked = true;
  s.battery_a = battery_a_;
  s.battery_b = battery_b_;
  s.profile_index = static_cast<uint8_t>(active_profile_);
  s.dpi_stage = settings_[active_profile_][NordicSettingsBlock::kDpiIndexAt];
  s.report_rate = settings_[active_profile_][NordicSettingsBlock::kReportRateAt];
  s.highest_rate = highest_rate_;
  return s;
}

void NordicFirmware::SetBattery(uint8_t a, uint8_t b) {
  battery_a_ = a;
  battery_b_ = b;
}

void NordicFirmware::SetActiveStage(uint8_t stage) {
  settings_[active_profile_][NordicSettingsBlock::kDpiIndexAt] = stage;
}

void NordicFirmware::SetReportRate(uint8_t code) {
  settings_[active_profile_][NordicSettingsBlock::kReportRateAt] = code;
}

NordicFrame NordicFirmware::Reply(const uint8_t* request, uint8_t code) const {
  NordicFrame f;
  f[kTargetCommandAt] = request[kTargetCommandAt];
  f[kChunkAt] = request[kChunkAt];
  f[kCodeAt] = code;
  f[kSubAt] = request[kSubAt];
  return f;
}

std::optional<NordicFrame> NordicFirmware::Handle(const uint8_t* received, size_t length) {
  std::optional<NordicFrame> reply;
  if (NordicFrame::VerifyReceived(received, length)) reply = Dispatch(received);
  if (!reply) ++rejected_;
  return reply;
}

std::optional<NordicFrame> NordicFirmware::Dispatch(const uint8_t* r) {
  const uint8_t command = CommandOf(r[kTargetCommandAt]);
  const uint8_t code = r[kCodeAt];
  const uint8_t sub = r[kSubAt];
  // Byte 1 numbers the chunks of a macro transfer and is 0 everywhere else.
  if (command != kCmdMacro && r[kChunkAt] != 0) return std::nullopt;
  const bool read = code == kCodeRead && sub == kSubRead;
  switch (command) {
    case kCmdVersion: {
      if (code != kCodeRead || sub != kSubVersion) return std::nullopt;
      NordicFrame f = Reply(r, kCodeVersion);
      f[NordicVersionReply::kMajorAt] = version_.first;
      f[NordicVersionReply::kMinorAt] = version_.second;
      if (second_version_.first || second_version_.second) {
        f[NordicVersionReply::kSecondFlagAt] = 1;
        f[NordicVersionReply::kSecondMajorAt] = second_version_.first;
        f[NordicVersionReply::kSecondMinorAt] = second_version_.second;
      }
      return f;
    }
    case kCmdStatus:
      if (!read) return std::nullopt;
      return Status().Build(r[kTargetCommandAt]);
    case kCmdProfile:
      if (code != kCodeAction || sub != kSubRead || r[kDataAt] >= kProfiles) return std::nullopt;
      active_profile_ = r[kDataAt];
      return Reply(r, kCodeAction);
    case kCmdKeyTable:
      return HandleKeyTable(r);
    case kCmdSettings:
      return HandleSettings(r);
    case kCmdMacro:
      return HandleMacroChunk(r);
    case kCmdRestore:
      return HandleRestore(r);
    case kCmdCommit:
      if (!read) return std::nullopt;
      ++commits_;
      return Reply(r, kCodeRead);
    default:
      return std::nullopt;
  }
}

std::optional<NordicFrame> NordicFirmware::HandleKeyTable(const uint8_t* r) {
  NordicKeyTable::Area& keys = keys_[active_profile_];
  if (r[kCodeAt] == kCodeRead && r[kSubAt] == kSubRead) {
    NordicFrame f = Reply(r, kCodeKeyTable);
    std::copy(keys.begin(), keys.end(), f.data() + NordicKeyTable::kSlotsAt);
    return f;
  }
  if (r[kCodeAt] == kCodeKeyTable && r[kSubAt] == kSubBlockWrite) {
    // Byte 63 on the wire is the check byte: slot 14 keeps its last byte.
    std::copy(r + NordicKeyTable::kSlotsAt, r + NordicFrame::kSentPayload, keys.begin());
    return Reply(r, kCodeKeyTable);
  }
  return std::nullopt;
}

std::optional<NordicFrame> NordicFirmware::HandleSettings(const uint8_t* r) {
  Block& block = settings_[active_profile_];
  if (r[kCodeAt] == kCodeRead && r[kSubAt] == kSubRead) {
    NordicFrame f = Reply(r, kCodeSettings);
    std::copy(block.begin() + kDataAt, block.end(), f.data() + kDataAt);
    return f;
  }
  if (r[kCodeAt] == kCodeSettings && r[kSubAt] == kSubBlockWrite) {
    std::copy(r + kDataAt, r + NordicFrame::kSentPayload, block.begin() + kDataAt);
    return Reply(r, kCodeSettings);
  }
  if (r[kCodeAt] == kCodeAction && r[kSubAt] == kSubReportRate) {
    block[NordicSettingsBlock::kReportRateAt] = r[kDataAt];
    return Reply(r, kCodeRead);
  }
  return std::nullopt;
}

std::optional<NordicFrame> NordicFirmware::HandleRestore(const uint8_t* r) {
  if (r[kCodeAt] != kCodeAction) return std::nullopt;
  const uint8_t what = r[kDataAt];
  switch (r[kSubAt]) {
    case kSubButtons: {
      // All buttons, or one by its key code; a key code the mouse has no
      // button for is not understood.
      const int slot = NordicKeyTable::SlotOfKeyCode(what);
      if (what != kAllButtons && slot < 0) return std::nullopt;
      ++restores_;
      const NordicKeyTable::Area defaults = NordicKeyTable::DefaultArea();
      NordicKeyTable::Area& keys = keys_[active_profile_];
      if (what == kAllButtons) {
        keys = defaults;
      } else {
        const size_t at = NordicKeyTable::kSlotSize * slot;
        std::copy_n(defaults.begin() + at, NordicKeyTable::kSlotSize, keys.begin() + at);
      }
      return Reply(r, kCodeAction);
    }
    case kSubLighting:
      if (what != kAllButtons) return std::nullopt;
      ++restores_;
      return Reply(r, kCodeAction);
    case kSubFactory:
      ++restores_;
      FactoryReset();
      return Reply(r, kCodeRead);
    default:
      return std::nullopt;
  }
}

std::optional<NordicFrame> NordicFirmware::HandleMacroChunk(const uint8_t* r) {
  // Byte 2 is 0x80 OR (bytes carried + 2), 1 to 58 bytes; byte 3 the block
  // write.
  const uint8_t code = r[kCodeAt];
  if ((code & kCodeMacroBase) == 0 || r[kSubAt] != kSubBlockWrite) return std::nullopt;
  const size_t field = code & static_cast<uint8_t>(~kCodeMacroBase);
  if (field < 3 || field - 2 > NordicMacroImage::kChunkData) return std::nullopt;
  const size_t carried = field - 2;
  const size_t chunk = r[kChunkAt];
  const size_t offset = NordicMacroImage::kChunkData * chunk;
  if (offset + carried > NordicMacroImage::kSize) {
    ++oversize_chunks_;
    return std::nullopt;
  }
  MacroSlot& slot = macros_[r[NordicMacroImage::kSlotAt]];
  if (chunk == 0) slot = MacroSlot();
  std::copy_n(r + NordicMacroImage::kChunkDataAt, carried, slot.bytes.begin() + offset);
  slot.received = std::max(slot.received, offset + carried);
  return Reply(r, kCodeAction);
}

void NordicFirmware::FactoryReset() {
  for (int p = 0; p < kProfiles; ++p) {
    settings_[p] = DefaultSettings(p);
    keys_[p] = NordicKeyTable::DefaultArea();
  }
  macros_.clear();
  active_profile_ = 0;
}

std::string NordicFirmware::Save() const {
  std::ostringstream out;
  out << kSaveHeader << "\n";
  out << "active_profile " << active_profile_ << "\n";
  out << "battery " << int(battery_a_) << " " << int(battery_b_) << "\n";
  out << "version " << int(version_.first) << " " << int(version_.second) << "\n";
  for (int p = 0; p < kProfiles; ++p) {
    out << "settings " << p << " " << ToHex(settings_[p].data(), settings_[p].size()) << "\n";
    out << "keys " << p << " " << ToHex(keys_[p].data(), keys_[p].size()) << "\n";
  }
  for (const auto& [number, slot] : macros_) {
    out << "macro " << number << " " << slot.received << " " << ToHex(slot.bytes.data(), slot.bytes.size())
        << "\n";
  }
  return out.str();
}

bool NordicFirmware::Load(const std::string& text) {
  NordicFirmware loaded;
  std::istringstream in(text);
  std::string line;
  if (!std::getline(in, line) || line != kSaveHeader) return false;
  while (std::getline(in, line)) {
    const std::vector<std::string> f = sim_state::Fields(line);
    if (f.empty()) continue;
    int a = 0, b = 0;
    if (f[0] == "active_profile" && f.size() == 2 && ParseInt(f[1], 0, kProfiles - 1, &a)) {
      loaded.active_profile_ = a;
    } else if (f[0] == "battery" && f.size() == 3 && ParseInt(f[1], 0, 255, &a) && ParseInt(f[2], 0, 255, &b)) {
      loaded.SetBattery(static_cast<uint8_t>(a), static_cast<uint8_t>(b));
    } else if (f[0] == "version" && f.size() == 3 && ParseInt(f[1], 0, 255, &a) && ParseInt(f[2], 0, 255, &b)) {
      loaded.SetVersion(static_cast<uint8_t>(a), static_cast<uint8_t>(b));
    } else if (f[0] == "settings" && f.size() == 3 && ParseInt(f[1], 0, kProfiles - 1, &a)) {
      if (!FromHex(f[2], loaded.settings_[a].data(), loaded.settings_[a].size())) return false;
    } else if (f[0] == "keys" && f.size() == 3 && ParseInt(f[1], 0, kProfiles - 1, &a)) {
      if (!FromHex(f[2], loaded.keys_[a].data(), loaded.keys_[a].size())) return false;
    } else if (f[0] == "macro" && f.size() == 4 && ParseInt(f[1], 0, 255, &a) &&
               ParseInt(f[2], 0, static_cast<int>(NordicMacroImage::kSize), &b)) {
      MacroSlot& slot = loaded.macros_[a];
      if (!FromHex(f[3], slot.bytes.data(), slot.bytes.size())) return false;
      slot.received = static_cast<size_t>(b);
    } else {
      return false;
    }
  }
  *this = loaded;
  return true;
}

}  // namespace tk410
