#pragma once
// DeviceMainDlg: the main window. It owns the pages (a PLKUI dialog), the sync
// worker (CThreadBasic) and the window's shared state (DeviceMainDef).
//
// The class is implemented across the subsystems' folders, one file per job:
//   src/ui/device_main_dlg.cpp      construction, services, texts, queue, wait dialog
//   src/ui/page_refresh.cpp         page refresh operations called by both threads
//   src/sync/wired_*.cpp            wired-family routines (worker thread)
//   src/sync/worker.cpp             the worker turn and the task actions
//   src/ui/connection.cpp           scan, connection state, hot-plug filter
// Page building, handlers and the window messages live in src/ui as well.
//
// Threading: the worker calls the page refresh operations and control setters
// directly (the control model is thread-safe); everything that needs the
// window thread (message boxes, modal dialogs) is posted to it.

#include <atomic>
#include <map>
#include <memory>
#include <mutex>
#include <string>

#include "device/device_change_mailbox.h"
#include "device/device_change_source.h"
#include "device/device_manager.h"
#include "nordic/nordic_state.h"
#include "plkui/controls.h"
#include "plkui/dialog.h"
#include "sync/sync_task.h"
#include "sync/thread_basic.h"
#include "ui/control_ids.h"
#include "ui/device_main_def.h"
#include "ui/device_main_services.h"

namespace tk410 {

class ConfigDatabase;
class DeviceManager;
class Clock;
class FileDialogs;
class MacroPage;
class ProfileFollower;

class DeviceMainDlg : public PLKUI::MDialog, public CThreadBasic, public DeviceMainDef {
 public:
  explicit DeviceMainDlg(DeviceMainServices services = {});
  // Stops the worker and waits for its thread before anything is destroyed.
  ~DeviceMainDlg() override;

  ConfigDatabase& Db() const { return *services_.db; }
  DeviceManager& Devices() const { return *services_.devices; }
  Clock& GetClock() const { return *services_.clock; }
  const DeviceMainServices& Services() const { return services_; }

  // The language text of a TextId (empty when missing or no texts are set).
  std::wstring LangText(int text_id) const;
  // The window's title in the current language: the product's name, and
  // that the mouse is virtual when it is.
  std::wstring WindowTitleText() const;
  // Appends a task for the worker (any thread).
  void Enqueue(int kind) { tasks.Push(kind); }
  // True when the current device type selects the Nordic family.
  bool IsNordicFamily() const { return current_device_type.load() > 200; }

  // Typed control access; nullptr when the control does not exist (yet).
  template <class T>
  T* Control(int id) const { return GetControlAs<T>(id); }

  // ---- page refresh operations (window thread and worker) ----------------
  // Fills the profile combo (control 60) and sets the current profile,
  // creating the default profiles in an empty database.
  void RefreshProfileList();
  void FillFunctionLists();
  void RefreshKeyPage();
  void ShowMacroPage();
  void LoadPerformancePage();
  void RestorePointerDefaults();
  // Connection label (control 41) shows the language text of `text_id`, its
  // picture the matching state (connected, nothing, or a mouse not usable).
  void SetConnectionText(int text_id);
  void SetBattery(int level, int state);

  // ---- start-up, scan and hot-plug (src/ui/connection.cpp) ----------------
  // The window's initialisation after the pages exist: catalogue, device
  // type, device notifications, first scan, InitialSync, worker — in that
  // order; the worker then saves the device type and opens the database
  // (PrepareStore). No window timer is started.
  // `start_worker` false leaves the worker thread unstarted (tests drive
  // WorkerTurn themselves).
  void StartUp(bool start_worker = true);
  // What the worker does first as it takes the InitialSync of StartUp, off
  // the way to the first frame: saves the device type and opens its
  // settings database. Once per StartUp.
  void PrepareStore();
  // The worker after InitialSync: a mouse shown as being connected to since
  // start-up is now shown with its pages.
  void EndFirstRead();
  void LoadCatalogue();
  void OpenSettingsDatabase();
  // Rebuilds the device lists and sets the connection state, texts and tabs.
  void ScanAndUpdate();
  void BluetoothStep();
  // The hot-plug filter (window thread): an interface path arrived or left.
  void OnDeviceChange(const std::wstring& interface_path, bool arrival);

  // ---- device notifications (src/ui/connection.cpp; owner: worker engineer)
  // The source StartUp registers with; by default the udev hidraw monitor.
  // Set it before StartUp (the virtual bus's notifications when simulating).
  void SetDeviceChangeSource(std::unique_ptr<DeviceChangeSource> source);
  // Starts the source (StartUp step "register for device notifications").
  void RegisterDeviceNotifications();
  // Any thread: queues a device change and posts kMsgDeviceChange (537) to
  // the window with wParam 0x8000 (arrival) or 0x8004 (removal) and the
  // mailbox number of the path as lParam.
  void PostDeviceChange(const std::wstring& interface_path, bool arrival);
  // The window's OnWindowMessage calls this for message 537 and returns its
  // result (always 0): runs the hot-plug filter with the path posted.
  intptr_t HandleDeviceChangeMessage(uintptr_t wparam, intptr_t lparam);
  // Shows the connection state of the device manager's last scan.
  void ShowConnectionState(int active_mode, bool any_device);
  // Selects a tab without a click (the connection moves the strip) and
  // applies the page change a click would.
  void SelectTab(int item);
  // Keeps the page id and the second background in step with the page the
  // tab strip shows, whether a click or the connection moved it.
  void EnterPage(int page);

  // ---- sync worker (src/sync/worker.cpp) -----------------------------------
  void StartWorker();
  // Stops the worker, waits up to 1000 ms for its loop, then for its thread;
  // tasks still queued are dropped.
  void StopWorker();
  // One worker turn: a task, or else the status poll.
  void WorkerTurn();
  // Between two turns (src/sync/worker_wait.cpp): the pause when more tasks
  // are queued; otherwise a wait until there is something to do: a task
  // queued, a status report to read, or the stop.
  void WaitForWork(uint32_t pause_ms);
  // The action of one task kind (after the online check). True when every
  // step ran and the mouse answered every request of the task (a task with
  // no device I/O is always answered).
  bool RunTask(int kind);
  // Read the device into the database and refresh every page.
  void ReadSequence(bool after_removal);
  void InitialSequence();

  // ---- wait dialog ---------------------------------------------------------
  // The modal wait dialog the window opened for a task, or none.
  void SetWaitDialog(PLKUI::MDialog* dialog);
  PLKUI::MDialog* GetWaitDialog() const;
  // The worker's "close wait": ends an open wait dialog, then pauses 100 ms.
  void CloseWait();

  // A status report an exchange met on the interface (src/sync/status_report_sink.cpp):
  // a wired one is applied at once as the status poll applies it; a Nordic
  // one waits for the next Nordic status poll.
  void OnStatusReport(ReportFamily family, const uint8_t* report, size_t length);

  // ---- window: overrides, layout, dialogs, exits ---------------------------
  // (src/ui/window_messages.cpp, frame_builder.cpp, *_page.cpp, wait_dlg.cpp)
  intptr_t OnInitDialog() override;
  void InitUI() override;
  void UISize(const PLKUI::MRect& client) override;
  intptr_t OnMessage(int id, int code, intptr_t param) override;
  intptr_t OnWindowMessage(unsigned message, uintptr_t wparam, intptr_t lparam) override;
  intptr_t OnTimer(int id) override;
  void OnShowStateChanged() override;
  // Design rectangle of a control at 1121 x 780; UISize scales it to the client.
  void SetDesignRect(int id, const PLKUI::MRect& rect);
  // Lays the shown report-rate buttons out side by side in their row.
  void ArrangeRateButtons();
  // The Bluetooth notice (text 56) over the pages, placed for the client
  // area `client` (the design size while the window has none).
  void ShowBluetoothBanner(const PLKUI::MRect& client);
  // The message box with language texts; returns the modal result (2: refused).
  int ShowMessageBox(int title_id, int text_id, int style);
  // Deletes the wait dialog of an earlier operation, prepares a new one,
  // queues `task_kind` (0: none) and shows the dialog
  // modally until the worker ends it (or the device leaves, or the user cancels).
  int ShowWaitDialog(int task_kind);
  // Ends the program: stops and joins the worker, closes the database and
  // ends the modal run with 0.
  void EndProgram();
  bool ProgramEnded() const { return program_ended_.load(); }
  // The file and folder dialogs of the profile and macro files (none: those
  // buttons do nothing).
  void SetFileDialogs(FileDialogs* dialogs) { file_dialogs_ = dialogs; }
  FileDialogs* GetFileDialogs() const { return file_dialogs_; }

  // ---- application shell (src/ui/text_refresh.cpp, system_settings_page.cpp)
  // Puts every language-dependent text of the window in the current language
  // and reloads the pages whose contents follow the language (message 2022,
  // language change).
  void RefreshTexts();
  // Refills the settings page from the desktop when the window becomes
  // active while that page is shown.
  intptr_t OnNcActivate(bool active) override;

  // ---- Nordic family (src/nordic; owner: Nordic family work) --------------
  // Target, copies, link and status values, macro slot map, first-sync
  // flag; used by the worker only.
  NordicState nordic_state;

 protected:
  // The worker turn; defined in src/sync/worker.cpp.
  void ThreadBody() override;
  // WaitForWork, and the stop that ends it (src/sync/worker_wait.cpp).
  void PauseAfterTurn(uint32_t pause_ms) override;
  void InterruptPause() override;
  // Milliseconds until the status poll may read again (0: now).
  int MsUntilStatusPoll();

 private:
  // Window area (see the block above).
  std::mutex design_mutex_;
  std::map<int, PLKUI::MRect> design_rects_;
  std::unique_ptr<PLKUI::MDialog> wait_holder_;  // the last wait dialog shown
  std::atomic<bool> program_ended_{false};
  FileDialogs* file_dialogs_ = nullptr;

  // ---- sync worker and device notifications (worker engineer) -------------
  // Set by StopWorker: a task in progress skips its remaining steps.
  bool WorkerStopping() const { return worker_stopping_.load(); }
  std::atomic<bool> worker_stopping_{false};
  // Set by StartUp until PrepareStore has run.
  std::atomic<bool> store_pending_{false};
  // During the start-up's scan: a usable mouse is shown as being connected to.
  std::atomic<bool> start_scan_{false};
  // The connection state shows that instead of the pages.
  std::atomic<bool> connecting_shown_{false};
  DeviceChangeMailbox device_changes_;
  std::mutex source_mutex_;
  // Declared after the mailbox: destroyed (and stopped) first.
  std::unique_ptr<DeviceChangeSource> device_change_source_;

  DeviceMainServices services_;
  mutable std::mutex wait_mutex_;
  PLKUI::MDialog* wait_dialog_ = nullptr;

  // ---- macro page: recorder and editor (src/ui/macro_page*.cpp) -----------
 public:
  // The macro page's behaviour; made on first use (any thread).
  MacroPage& MacroEditor();

 private:
  std::once_flag macro_page_once_;
  std::shared_ptr<MacroPage> macro_page_;

  // ---- per-program profiles (src/ui/profile_follower.cpp) -----------------
 public:
  // Made on first use (any thread).
  ProfileFollower& Follower();

 private:
  std::once_flag follower_once_;
  std::unique_ptr<ProfileFollower> follower_;
};

}  // namespace tk410
