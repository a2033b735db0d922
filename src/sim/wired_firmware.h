#pragma once
// The firmware of a virtual wired mouse: what the mouse keeps and how it
// answers each wired command. No transport here: Handle takes a request
// payload and gives the reply payload (or none), the feature calls take the
// feature report bytes. VirtualWiredMouse puts it on the virtual HID bus.
//
// A fresh mouse has blank settings blocks (erased flash, 0xFF, except the
// profile index), the mouse's own key codes and an empty macro image.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "device/wired_frame.h"
#include "device/wired_layout.h"

namespace tk410 {

class WiredFirmware {
 public:
  static constexpr int kProfiles = WiredKeyTable::kProfiles;  // 6
  using SettingsBytes = std::array<uint8_t, WiredSettingsBlock::kSize>;
  using KeyBytes = std::array<uint8_t, WiredKeyTable::kSize>;
  using MacroImage = std::array<uint8_t, WiredMacroImage::kSize>;

  WiredFirmware();

  // Answers one request payload. No reply for a wrong marker or check byte,
  // an unknown command, or a header the command does not have: offset 2,
  // the length byte at 4 and offsets 5, 6 as the command defines them (the
  // macro chunk: a length of 1 to 56 at an image offset that is a whole
  // number of chunks inside the image), offset 7 a profile index below 6
  // (0 for the firmware read and the macro commands).
  std::optional<WiredFrame> Handle(const WiredFrame& request);
  static bool HeaderValid(const WiredFrame& request);

  // Version feature report 0x51: a set (byte 1 0x04, selector byte 2: 0xAA
  // the receiver's text, 0x00 the mouse's; anything else fails) chooses the
  // text; a get returns it.
  int SetFeature(const uint8_t* data, size_t length);
  int GetFeature(uint8_t* data, size_t length);

  // ---- state, for tests and the status reports
  const SettingsBytes& Settings(int profile_index) const { return settings_.at(profile_index); }
  void SetSettings(int profile_index, const SettingsBytes& bytes) { settings_.at(profile_index) = bytes; }
  const KeyBytes& Keys(int profile_index) const { return keys_.at(profile_index); }
  const MacroImage& Macros() const { return macros_; }
  // Bytes of the last completed macro download (0 before any).
  size_t MacroLength() const { return macro_length_; }
  // The stored image read back into macros, one list of entries per macro
  // in table order (what a button's macro position plays).
  std::vector<std::vector<WiredMacroEntry>> StoredMacros() const {
    return DecodeWiredMacroImage(macros_.data(), macro_length_);
  }
  int ActiveProfile() const { return active_profile_; }
  void SetActiveProfile(int index);
  uint8_t BatteryLevel() const { return battery_level_; }
  uint8_t BatteryState() const { return battery_state_; }
  void SetBattery(uint8_t level, uint8_t state);
  // Three ASCII characters at reply offsets 23..25 of 0x03.
  void SetFirmwareDigits(const std::string& digits);
  std::string FirmwareDigits() const { return firmware_digits_; }
  void SetVersionText(const std::string& mouse, const std::string& receiver);
  // Makes the version reply carry this length byte instead of the text's
  // (tests of L = 0 and L above 18); a negative value restores the normal one.
  void SetVersionLengthOverride(int length) { version_length_override_ = length; }
  // Commands answered so far (valid requests), and requests refused without
  // a reply.
  int CommandsHandled() const { return commands_handled_; }
  int RejectedRequests() const { return rejected_requests_; }

  // The device's own changes (DPI button, report rate switch, light button).
  void SetActiveStage(uint8_t stage);
  void SetReportRate(uint8_t code);
  void SetLightMode(uint8_t mode);
  // The active profile moves to `stage` and `rate`; the stage-and-rate
  // status report telling so.
  WiredStatusReport ChangeStageAndRate(uint8_t stage, uint8_t rate);
  // The DPI button pressed: the mouse lands on `stage` (0: the stage it is
  // on, as a DPI-up press on the top stage) at its report rate; the status
  // report telling so.
  WiredStatusReport PressDpiButton(uint8_t stage);

  // Text form of the whole state; false (state unchanged) on malformed input.
  std::string Save() const;
  bool Load(const std::string& text);
  bool SaveToFile(const std::string& path) const;
  bool LoadFromFile(const std::string& path);

 private:
  SettingsBytes& ActiveSettings() { return settings_[active_profile_]; }

  std::array<SettingsBytes, kProfiles> settings_{};
  std::array<KeyBytes, kProfiles> keys_{};
  MacroImage macros_{};
  size_t macro_length_ = 0;
  MacroImage pending_macros_{};  // chunks of a download not yet ended
  size_t pending_length_ = 0;
  bool receiving_macros_ = false;
  int active_profile_ = 0;
  uint8_t battery_level_ = 100;
  uint8_t battery_state_ = 0;
  std::string firmware_digits_ = "105";
  std::string mouse_version_ = "V1.0.5";
  std::string receiver_version_ = "R2.0.1";
  bool receiver_selected_ = false;
  int version_length_override_ = -1;
  int commands_handled_ = 0;
  int rejected_requests_ = 0;
};

}  // namespace tk410
