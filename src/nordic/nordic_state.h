#pragma once
// What the main window keeps about a Nordic-family device between worker
// tasks: the request target, the last key table and settings block read,
// the link and last status values, the poll time, the macro slot map, the
// status reports waiting for the next poll and the first-sync flag. Read
// and written by the sync worker only (and by the start-up scan, before the
// worker starts); the window thread never touches it otherwise. The reset
// flags of a restore are the window's reset selector (DeviceMainDef), which
// the restore handler sets.

#include <array>
#include <cstdint>
#include <deque>
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
  // Status reports an exchange met on the interface (queued before its
  // request, or arriving while it waited for its reply), in order of
  // arrival. The next status poll handles them as if it had read them; an
  // exchange cannot, since handling a link-up report exchanges again.
  static constexpr size_t kMaxPendingReports = 16;
  std::deque<NordicFrame> pending_reports;

  // Keeps a report for the next poll; past the limit the oldest goes.
  void KeepPending(const uint8_t* report, size_t length) {
    NordicFrame f;
    for (size_t i = 0; i < length && i < NordicFrame::kSize; ++i) f[i] = report[i];
    if (pending_reports.size() == kMaxPendingReports) pending_reports.pop_front();
    pending_reports.push_back(f);
  }

  bool KeyTableValid() const { return key_table[nordic::kCodeAt] == nordic::kCodeKeyTable; }
  bool SettingsValid() const { return settings[nordic::kCodeAt] == nordic::kCodeSettings; }
  static void Keep(Copy* copy, const NordicFrame& reply) {
    copy->fill(0);
    for (size_t i = 0; i < NordicFrame::kSize; ++i) (*copy)[i] = reply[i];
  }
};

}  // namespace tk410
