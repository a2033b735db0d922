#pragma once
// The kinds of work the window hands to the sync worker. The numbers are
// fixed: the worker dispatches on them and unknown numbers are ignored.

#include <cstdint>
#include <mutex>
#include <utility>
#include <vector>

namespace tk410 {

enum SyncTask : int {
  kTaskInitialSync = 1,
  kTaskDeviceArrival = 2,
  kTaskDeviceRemoval = 3,
  kTaskResync = 4,
  kTaskProfileSwitch = 5,
  kTaskWriteAll = 6,
  kTaskReadAll = 7,
  kTaskDefaultKeys = 8,
  kTaskLightMode = 9,
  kTaskDpiStage = 10,
  kTaskReportRate = 11,
  kTaskWriteSettings = 12,
  kTaskWriteSettingsQuiet = 13,
  kTaskNothing = 14,
  kTaskRestoreProfile = 15,
  kTaskFactoryReset = 16,
  kTaskImportNordic = 17,
};

// Message posted by the worker after a write (lParam 1) or a restore (lParam 2).
constexpr unsigned kMsgDeviceResult = 1714;
constexpr intptr_t kResultWritten = 1;
constexpr intptr_t kResultRestored = 2;
// OR-ed into the lParam of 1714 when the mouse left a request of the task
// unanswered: the write or restore did not reach the mouse whole.
constexpr intptr_t kResultNotAnswered = 0x100;

// wParam of message 1714 after a write: 0 when every macro reached the mouse
// whole; otherwise the macros written whole (low 16 bits) and the macros to
// write (high 16 bits: the wired family's whole macro list, the Nordic
// family's macros that buttons use), for the notice to tell the user.
struct MacroShortfall {
  int written = 0;
  int given = 0;

  uintptr_t ToParam() const {
    if (written >= given) return 0;
    return (static_cast<uintptr_t>(given & 0xFFFF) << 16) | static_cast<uintptr_t>(written & 0xFFFF);
  }
  static MacroShortfall FromParam(uintptr_t param) {
    return MacroShortfall{static_cast<int>(param & 0xFFFF), static_cast<int>((param >> 16) & 0xFFFF)};
  }
  bool Any() const { return written < given; }
};

// The macros (by macro_id) the last write could not put into the mouse
// whole: left out of a full wired image, cut short at the end of a Nordic
// image, or past the Nordic mouse's 32 macro slots. The wired key download
// keeps the default code for buttons of a macro left out. The write task sets it; the command line, which has no window to
// receive the written notice, reads it after the task.
class MacroWriteReport {
 public:
  void Set(std::vector<int> macro_ids) {
    std::lock_guard<std::mutex> lock(mutex_);
    macro_ids_ = std::move(macro_ids);
  }
  std::vector<int> Get() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return macro_ids_;
  }

 private:
  mutable std::mutex mutex_;
  std::vector<int> macro_ids_;
};

}  // namespace tk410
