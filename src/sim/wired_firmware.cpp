#include "sim/wired_firmware.h"

#include "sim/state_text.h"

#include <algorithm>
#include <fstream>
#include <sstream>
#include <vector>

namespace tk410 {

namespace {

using sim_state::FromHex;
using sim_state::ParseInt;
using sim_state::ToHex;

constexpr char kSaveHeader[] = "tk410-virtual-wired-mouse 1";
constexpr size_t kFirmwareDigitsAt = 23;

bool FromHexString(const std::string& s, std::string* out, size_t max) {
  if (s == "-") {
    out->clear();
    return true;
  }
  if (s.size() % 2 != 0 || s.size() / 2 > max) return false;
  std::vector<uint8_t> bytes(s.size() / 2);
  if (!FromHex(s, bytes.data(), bytes.size())) return false;
  out->assign(bytes.begin(), bytes.end());
  return true;
}

std::string HexString(const std::string& s) {
  return s.empty() ? "-" : ToHex(reinterpret_cast<const uint8_t*>(s.data()), s.size());
}

// The header a command's request carries: offset 2, the length byte at 4,
// offsets 5 and 6, and whether offset 7 names a profile (else it is 0).
struct HeaderForm {
  uint8_t command;
  uint8_t offset2;
  uint8_t length;
  uint8_t offset5;
  uint8_t offset6;
  bool per_profile;
};

// Every fixed form the mouse takes. The macro chunk (0x0D) carries its length
// and image offset in the header and is checked on its own.
constexpr HeaderForm kHeaderForms[] = {
    {kWiredFirmwareVersion, 0x00, 0x00, 0, 0, false},
    {kWiredKeyRead, 0xA5, WiredKeyTable::kLength, 0, 0, true},
    {kWiredKeyWrite, 0xA5, WiredKeyTable::kLength, 0, 0, true},
    {kWiredKeyWrite, 0xA5, WiredKeyTable::kDefaultFormLength, 1, 1, true},  // default keys
    {kWiredSettingsRead, 0xA5, WiredSettingsBlock::kLength, 0, 0, true},
    {kWiredSettingsWrite, 0xAE, WiredSettingsBlock::kLength, 0, 0, true},
    {kWiredMacroEnd, 0xA5, 0x00, 0, 0, false},
    {kWiredLightMode, 0xA5, 0x03, 0, 0, true},
    {kWiredDpiStage, 0xAE, 0x03, 0, 0, true},
    {kWiredReportRate, 0xAE, 0x03, 0, 0, true},
    {kWiredBattery, 0xA5, WiredSettingsBlock::kLength, 0, 0, true},
};

// A chunk of the macro image: offset 2 is 0, the length 1 to 56, the image
// offset a whole number of chunks inside the image, offset 7 is 0.
bool MacroChunkHeaderValid(const WiredFrame& r) {
  const size_t length = r[WiredFrame::kLength];
  const size_t offset = r.Get16(WiredFrame::kOffsetLow);
  return r[WiredFrame::kOffset2] == 0x00 && length >= 1 && length <= WiredMacroImage::kChunkSize &&
         offset % WiredMacroImage::kChunkSize == 0 && offset < WiredMacroImage::kSize &&
         r[WiredFrame::kProfileIndex] == 0;
}

}  // namespace

bool WiredFirmware::HeaderValid(const WiredFrame& r) {
  const uint8_t command = r[WiredFrame::kCommand];
  if (command == kWiredMacroChunk) return MacroChunkHeaderValid(r);
  for (const HeaderForm& form : kHeaderForms) {
    if (form.command != command) continue;
    const uint8_t profile = r[WiredFrame::kProfileIndex];
    if (r[WiredFrame::kOffset2] == form.offset2 && r[WiredFrame::kLength] == form.length &&
        r[WiredFrame::kOffsetLow] == form.offset5 && r[WiredFrame::kOffsetHigh] == form.offset6 &&
        (form.per_profile ? profile < kProfiles : profile == 0)) {
      return true;
    }
  }
  return false;
}

WiredFirmware::WiredFirmware() {
  for (int p = 0; p < kProfiles; ++p) {
    settings_[p].fill(0xFF);
    settings_[p][0] = static_cast<uint8_t>(p);  // offset 8: the profile index
    const auto& codes = WiredKeyTable::DefaultCodes();
    for (int s = 0; s < WiredKeyTable::kSlots; ++s) {
      std::copy(codes[s].begin(), codes[s].end(), keys_[p].begin() + s * WiredKeyTable::kCodeSize);
    }
  }
}

void WiredFirmware::SetActiveProfile(int index) {
  if (index >= 0 && index < kProfiles) active_profile_ = index;
}

void WiredFirmware::SetBattery(uint8_t level, uint8_t state) {
  battery_level_ = level;
  battery_state_ = state;
}

void WiredFirmware::SetFirmwareDigits(const std::string& digits) {
  firmware_digits_ = digits.substr(0, 3);
  firmware_digits_.resize(3, '0');
}

void WiredFirmware::SetVersionText(const std::string& mouse, const std::string& receiver) {
  mouse_version_ = mouse.substr(0, WiredVersionReport::kMaxText);
  receiver_version_ = receiver.substr(0, WiredVersionReport::kMaxText);
}

void WiredFirmware::SetActiveStage(uint8_t stage) {
  ActiveSettings()[WiredSettingsBlock::kActiveStageAt - WiredSettingsBlock::kFrameOffset] = stage;
}

void WiredFirmware::SetReportRate(uint8_t code) {
  ActiveSettings()[WiredSettingsBlock::kReportRateAt - WiredSettingsBlock::kFrameOffset] = code;
}

void WiredFirmware::SetLightMode(uint8_t mode) {
  ActiveSettings()[WiredSettingsBlock::kLightModeAt - WiredSettingsBlock::kFrameOffset] = mode;
}

WiredStatusReport WiredFirmware::ChangeStageAndRate(uint8_t stage, uint8_t rate) {
  SetActiveStage(stage);
  SetReportRate(rate);
  return WiredStatusReport{WiredStatusReport::kStageAndRate, stage, rate};
}

WiredStatusReport WiredFirmware::PressDpiButton(uint8_t stage) {
  constexpr size_t kBlock = WiredSettingsBlock::kFrameOffset;
  const SettingsBytes& block = ActiveSettings();
  const uint8_t now = block[WiredSettingsBlock::kActiveStageAt - kBlock];
  return ChangeStageAndRate(stage != 0 ? stage : now, block[WiredSettingsBlock::kReportRateAt - kBlock]);
}

std::optional<WiredFrame> WiredFirmware::Handle(const WiredFrame& request) {
  if (request[WiredFrame::kMarker] != WiredFrame::kRequestMarker || !request.CheckMatches() ||
      !HeaderValid(request)) {
    ++rejected_requests_;
    return std::nullopt;
  }
  const uint8_t command = request[WiredFrame::kCommand];
  const int profile = request[WiredFrame::kProfileIndex];
  constexpr size_t kBlock = WiredSettingsBlock::kFrameOffset;

  // Writes echo the request; reads fill in their data.
  WiredFrame reply = request;
  reply[WiredFrame::kMarker] = WiredFrame::kReplyMarker;

  switch (command) {
    case kWiredFirmwareVersion:
      for (size_t i = 0; i < 3; ++i) reply[kFirmwareDigitsAt + i] = static_cast<uint8_t>(firmware_digits_[i]);
      break;
    case kWiredSettingsRead:
      std::copy(settings_[profile].begin(), settings_[profile].end(), reply.bytes.begin() + kBlock);
      break;
    case kWiredSettingsWrite:
      std::copy(request.bytes.begin() + kBlock, request.bytes.begin() + kBlock + WiredSettingsBlock::kSize,
                settings_[profile].begin());
      break;
    case kWiredLightMode:
    case kWiredReportRate:
    case kWiredDpiStage: {
      auto& block = settings_[profile];
      const uint8_t value = request[10];
      if (command == kWiredLightMode) {
        block[WiredSettingsBlock::kLightModeAt - kBlock] = value;
      } else if (command == kWiredReportRate) {
        block[WiredSettingsBlock::kReportRateAt - kBlock] = value;
      } else if (value >= 1 && value <= WiredSettingsBlock::kStages) {
        block[WiredSettingsBlock::kActiveStageAt - kBlock] = value;
        const size_t dpi = WiredSettingsBlock::kDpiAt - kBlock + 2 * (value - 1);
        block[dpi] = request[11];
        block[dpi + 1] = request[12];
      }
      break;
    }
    case kWiredBattery:
      reply[8] = battery_level_;
      reply[9] = battery_state_;
      break;
    case kWiredKeyRead:
      std::copy(keys_[profile].begin(), keys_[profile].end(), reply.bytes.begin() + WiredKeyTable::kFrameOffset);
      break;
    case kWiredKeyWrite: {
      // The default-key form (offsets 5, 6 = 1, 1) carries slots 0..7 only;
      // the length byte says how many bytes either form carries.
      const size_t length = std::min<size_t>(request[WiredFrame::kLength], WiredKeyTable::kSize);
      std::copy(request.bytes.begin() + WiredKeyTable::kFrameOffset,
                request.bytes.begin() + WiredKeyTable::kFrameOffset + length, keys_[profile].begin());
      break;
    }
    case kWiredMacroChunk: {
      if (!receiving_macros_) {
        pending_macros_.fill(0);
        pending_length_ = 0;
        receiving_macros_ = true;
      }
      // The header check keeps the offset inside the image; a chunk reaching
      // past its end keeps what fits.
      const size_t offset = request.Get16(WiredFrame::kOffsetLow);
      const size_t length = std::min<size_t>(request[WiredFrame::kLength], WiredMacroImage::kSize - offset);
      std::copy(request.bytes.begin() + WiredFrame::kData,
                request.bytes.begin() + WiredFrame::kData + length, pending_macros_.begin() + offset);
      pending_length_ = std::max(pending_length_, offset + length);
      break;
    }
    case kWiredMacroEnd:
      if (receiving_macros_) {
        macros_ = pending_macros_;
        macro_length_ = pending_length_;
        receiving_macros_ = false;
      }
      break;
    default:
      ++rejected_requests_;
      return std::nullopt;
  }
  ++commands_handled_;
  reply.FillCheck();
  return reply;
}

int WiredFirmware::SetFeature(const uint8_t* data, size_t length) {
  // 0x51, sub-function 0x04, selector 0xAA (the receiver) or 0x00 (the mouse).
  if (length < 3 || data[WiredVersionReport::kReportIdAt] != WiredVersionReport::kReportId ||
      data[WiredVersionReport::kSubAt] != WiredVersionReport::kSub) {
    return -1;
  }
  const uint8_t selector = data[WiredVersionReport::kSelectorAt];
  if (selector != WiredVersionReport::kReceiverSelector && selector != 0x00) return -1;
  receiver_selected_ = selector == WiredVersionReport::kReceiverSelector;
  return static_cast<int>(length);
}

int WiredFirmware::GetFeature(uint8_t* data, size_t length) {
  if (length < 1 || data[0] != WiredVersionReport::kReportId) return -1;
  std::array<uint8_t, WiredVersionReport::kSize> report{};
  const std::string& text = receiver_selected_ ? receiver_version_ : mouse_version_;
  report[WiredVersionReport::kReportIdAt] = WiredVersionReport::kReportId;
  report[WiredVersionReport::kSubAt] = WiredVersionReport::kSub;
  report[WiredVersionReport::kLengthAt] = static_cast<uint8_t>(
      version_length_override_ >= 0 ? version_length_override_ : static_cast<int>(text.size()));
  std::copy(text.begin(), text.end(), report.begin() + WiredVersionReport::kTextAt);
  const size_t n = std::min(length, report.size());
  std::copy(report.begin(), report.begin() + n, data);
  return static_cast<int>(n);
}

std::string WiredFirmware::Save() const {
  std::ostringstream out;
  out << kSaveHeader << "\n";
  out << "active_profile " << active_profile_ << "\n";
  out << "battery " << int(battery_level_) << " " << int(battery_state_) << "\n";
  out << "firmware " << HexString(firmware_digits_) << "\n";
  out << "version " << HexString(mouse_version_) << " " << HexString(receiver_version_) << "\n";
  for (int p = 0; p < kProfiles; ++p) {
    out << "settings " << p << " " << ToHex(settings_[p].data(), settings_[p].size()) << "\n";
    out << "keys " << p << " " << ToHex(keys_[p].data(), keys_[p].size()) << "\n";
  }
  out << "macros " << macro_length_ << " " << ToHex(macros_.data(), macros_.size()) << "\n";
  return out.str();
}

bool WiredFirmware::Load(const std::string& text) {
  WiredFirmware loaded;
  std::istringstream in(text);
  std::string line;
  if (!std::getline(in, line) || line != kSaveHeader) return false;
  while (std::getline(in, line)) {
    const std::vector<std::string> f = sim_state::Fields(line);
    if (f.empty()) continue;  // an empty line, or one of blanks only
    int a = 0, b = 0;
    if (f[0] == "active_profile" && f.size() == 2 && ParseInt(f[1], 0, kProfiles - 1, &a)) {
      loaded.active_profile_ = a;
    } else if (f[0] == "battery" && f.size() == 3 && ParseInt(f[1], 0, 255, &a) &&
               ParseInt(f[2], 0, 255, &b)) {
      loaded.SetBattery(static_cast<uint8_t>(a), static_cast<uint8_t>(b));
    } else if (f[0] == "firmware" && f.size() == 2 && f[1].size() == 6) {
      std::string digits;
      if (!FromHexString(f[1], &digits, 3)) return false;
      loaded.firmware_digits_ = digits;
    } else if (f[0] == "version" && f.size() == 3) {
      if (!FromHexString(f[1], &loaded.mouse_version_, WiredVersionReport::kMaxText) ||
          !FromHexString(f[2], &loaded.receiver_version_, WiredVersionReport::kMaxText)) {
        return false;
      }
    } else if (f[0] == "settings" && f.size() == 3 && ParseInt(f[1], 0, kProfiles - 1, &a)) {
      if (!FromHex(f[2], loaded.settings_[a].data(), loaded.settings_[a].size())) return false;
    } else if (f[0] == "keys" && f.size() == 3 && ParseInt(f[1], 0, kProfiles - 1, &a)) {
      if (!FromHex(f[2], loaded.keys_[a].data(), loaded.keys_[a].size())) return false;
    } else if (f[0] == "macros" && f.size() == 3 &&
               ParseInt(f[1], 0, static_cast<int>(WiredMacroImage::kSize), &a)) {
      if (!FromHex(f[2], loaded.macros_.data(), loaded.macros_.size())) return false;
      loaded.macro_length_ = static_cast<size_t>(a);
    } else {
      return false;
    }
  }
  *this = loaded;
  return true;
}

bool WiredFirmware::SaveToFile(const std::string& path) const {
  return sim_state::WriteFile(path, Save());
}

bool WiredFirmware::LoadFromFile(const std::string& path) {
  std::string text;
  return sim_state::ReadFile(path, &text) && Load(text);
}

}  // namespace tk410
