#pragma once
// The kinds of work the window hands to the sync worker. The numbers are
// fixed: the worker dispatches on them and unknown numbers are ignored.

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

}  // namespace tk410
