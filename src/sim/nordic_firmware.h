#pragma once
// The firmware of a virtual Nordic-family mouse: what the mouse keeps and
// how it answers each Nordic command. No transport here: Handle takes the 64
// bytes that arrived (payload 0..62 and the check byte) and gives the reply
// payload, or none. VirtualNordicDevice puts it on the virtual HID bus, as a
// mouse on a cable or behind a receiver.
//
// A fresh mouse holds its own button functions, default settings, and in
// the settings block's device-owned bytes (32..49, 51..60, 62) values of its
// own that a settings write must carry back unchanged.

#include <array>
#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <string>

#include "device/nordic_frame.h"
#include "device/nordic_layout.h"

namespace tk410 {

class NordicFirmware {
 public:
  static constexpr int kProfiles = 5;
  using Block = std::array<uint8_t, NordicFrame::kSize>;
  using MacroBytes = std::array<uint8_t, NordicMacroImage::kSize>;

  struct MacroSlot {
    MacroBytes bytes{};
    size_t received = 0;  // highest byte written + 1
    // The image's own length: 40 + 4 * its step count.
    size_t Length() const;
  };

  NordicFirmware();

  // Answers one request (the 64 bytes after the report number). No reply
  // for a wrong check byte, an unknown command, a request code or
  // sub-function the command does not have, a chunk number outside a macro
  // transfer, a profile number past the five, a button restore of a key code
  // the mouse has no button for, or a macro chunk of no bytes, of more than
  // 58 or reaching past the 1024-byte image. The target in byte 0 is the
  // caller's business (NordicReceiverFirmware).
  std::optional<NordicFrame> Handle(const uint8_t* received, size_t length);

  // ---- state, for tests and the status reports
  const Block& Settings(int profile_index) const { return settings_.at(profile_index); }
  const NordicKeyTable::Area& Keys(int profile_index) const { return keys_.at(profile_index); }
  const std::map<int, MacroSlot>& Macros() const { return macros_; }
  // The bytes of the settings block this mouse keeps for itself, as they
  // were made: a write must leave them so.
  static bool IsDeviceOwned(size_t offset);
  static Block DefaultSettings(int profile_index);

  int ActiveProfile() const { return active_profile_; }
  NordicStatusBlock Status() const;
  void SetBattery(uint8_t a, uint8_t b);
  void SetActiveStage(uint8_t stage);
  void SetReportRate(uint8_t code);
  void SetHighestRate(uint8_t code) { highest_rate_ = code; }
  void SetVersion(uint8_t major, uint8_t minor) { version_ = {major, minor}; }
  // A second version line (0, 0: none).
  void SetSecondVersion(uint8_t major, uint8_t minor) { second_version_ = {major, minor}; }

  int Commits() const { return commits_; }
  // Requests refused without a reply.
  int RejectedRequests() const { return rejected_; }
  // Macro chunks refused because they reached beyond the 1024-byte image
  // (counted among the refused requests too).
  int OversizeChunks() const { return oversize_chunks_; }
  int RestoreRequests() const { return restores_; }

  // Text form of the whole state; false (state unchanged) on malformed input.
  std::string Save() const;
  bool Load(const std::string& text);

 private:
  NordicFrame Reply(const uint8_t* request, uint8_t code) const;
  std::optional<NordicFrame> Dispatch(const uint8_t* request);
  std::optional<NordicFrame> HandleSettings(const uint8_t* request);
  std::optional<NordicFrame> HandleKeyTable(const uint8_t* request);
  std::optional<NordicFrame> HandleRestore(const uint8_t* request);
  std::optional<NordicFrame> HandleMacroChunk(const uint8_t* request);
  void FactoryReset();

  std::array<Block, kProfiles> settings_{};
  std::array<NordicKeyTable::Area, kProfiles> keys_{};
  std::map<int, MacroSlot> macros_;
  int active_profile_ = 0;
  uint8_t battery_a_ = 80;
  uint8_t battery_b_ = 1;
  uint8_t highest_rate_ = 5;
  std::pair<uint8_t, uint8_t> version_{0x01, 0x05};
  std::pair<uint8_t, uint8_t> second_version_{0, 0};
  int commits_ = 0;
  int rejected_ = 0;
  int oversize_chunks_ = 0;
  int restores_ = 0;
};

}  // namespace tk410
