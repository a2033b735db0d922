#pragma once
// What the main window keeps about a Nordic-family device between worker
// tasks: the request target, the last key table and settings block read,
// the link and last status values, the poll time, the macro slot map and
// the first-sync flag. Read and written by the sync worker only; the window
// thread never touches it. The reset flags of a restore are the window's
// reset selector (DeviceMainDef), which the restore handler sets.

#include <array>
#include <cstdint>
#include <map>

#include "device/nordic_frame.h"
#include "device/nordic_layout.h"

namespace tk410 {

struct NordicState {
  // A 65-byte copy: the 64 reply bytes and a spare zero byte.
  using Copy = std::array<uint8_t, NordicFrame::kSize + 1>;

  // Reset flag bits (the window's reset selector).
  static constexpr int kResetButtons = 0x01;
  static constexpr int kResetLighting = 0x04;

  int target = nordic::kTargetDevice;
  Copy key_table{};  // valid when byte 2 is 0xA5
  Copy settings{};   // valid when byte 2 is 0xBB
  bool linked = false;
  int battery_a = 0;
  int battery_b = 0;
  int dpi_stage = 0;
  int report_rate = 0;
  int highest_rate = 0;
  uint64_t last_poll_tick = 0;
  // macro_id -> macro slot, rebuilt by every macro download.
  std::map<int, int> macro_slots;
  bool first_sync_done = false;

  bool KeyTableValid() const { return key_table[nordic::kCodeAt] == nordic::kCodeKeyTable; }
  bool SettingsValid() const { return settings[nordic::kCodeAt] == nordic::kCodeSettings; }
  static void Keep(Copy* copy, const NordicFrame& reply) {
    copy->fill(0);
    for (size_t i = 0; i < NordicFrame::kSize; ++i) (*copy)[i] = reply[i];
  }
};

}  // namespace tk410
