#pragma once
// Data members of the main window that the window thread and the sync worker
// share. Flags and numbers that both threads read are atomics; the catalogue
// is filled once during initialisation, before the worker starts; the active
// types are rebuilt by every scan and read by the hot-plug filter under
// active_types_mutex.

#include <atomic>
#include <cstdint>
#include <mutex>
#include <vector>

#include "device/catalog.h"
#include "sync/sync_task.h"
#include "sync/task_queue.h"

namespace tk410 {

struct DeviceMainDef {
  // Device catalogue, read once by the window's initialisation.
  DeviceCatalog catalog;
  std::mutex active_types_mutex;
  std::vector<CatalogEntry> active_types;

  // Connection state, set by the scan.
  std::atomic<bool> online{false};     // a record of the current type is attached
  std::atomic<bool> connected{false};  // such a record is reachable
  std::atomic<int> current_device_type{0};

  // Sync worker.
  TaskQueue tasks;
  std::atomic<int> initial_read_done{0};
  std::atomic<int> current_profile{1};
  std::atomic<int> selected_button{0};
  std::atomic<int> light_value{0};
  std::atomic<int> reset_selector{0};
  MacroWriteReport macros_not_written;  // by the last write of everything

  // Wired status poll (worker thread only).
  uint64_t last_poll_tick = 0;
  uint8_t last_dpi_stage = 0;
  uint8_t last_report_rate = 0;

  // Page state.
  std::atomic<int> current_page{1};           // 1 home, 2 keys, 3 DPI, 4 macros, 6 settings
  std::atomic<int> current_dpi_control{101};  // DPI stage control last selected (101..106)
  std::atomic<int> current_light_mode{0};
  std::atomic<int> highest_rate_index{0};     // highest report-rate code the mouse accepts
};

}  // namespace tk410
