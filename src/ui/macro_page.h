#pragma once
// The macro page's behaviour: the macro list (new, copy, delete, rename), the
// step list with its editors and menus, the play and delay settings, and the
// recorder that turns captured keyboard and mouse input into steps. Every
// change is written to the settings database at once.
//
// Runs on the window thread, except the refresh hold: the worker's page
// refresh asks HoldRefresh first, and while a recording runs the refresh is
// deferred until the recording stops, so the steps recorded so far are not
// replaced by the database's older list.

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>

#include "assign/key_capture.h"
#include "plkui/types.h"

namespace PLKUI {
class CRecordList;
class MacroList;
}  // namespace PLKUI

namespace tk410 {

class DeviceMainDlg;

class MacroPage {
 public:
  // Recorder states.
  enum CaptureMode : int { kCaptureNone = 0, kCaptureRecord = 1, kCaptureStepKey = 12 };
  static constexpr int kStepLimit = 200;

  explicit MacroPage(DeviceMainDlg& window);
  ~MacroPage();
  MacroPage(const MacroPage&) = delete;
  MacroPage& operator=(const MacroPage&) = delete;

  // Control notifications of ids 155..197.
  intptr_t OnMessage(int id, int code, intptr_t param);
  // Menu choices: message 1709 (macro menu), 1710 (insert), 1711 (step menu).
  void OnMenu(unsigned message, int item);
  // The raw input message (255): records or captures while capturing.
  void OnRawInput(intptr_t handle);

  // The page refresh's hold (any thread). Returns a lock the refresh keeps
  // while it runs; `deferred` is true when a recording runs and the refresh
  // must not touch the lists (it runs when the recording stops).
  std::unique_lock<std::mutex> HoldRefresh(bool& deferred);

  bool Recording() const { return recording_.load(); }
  int Mode() const { return capture_mode_; }
  // Where pop-up menus open: the pointer's screen position. By default the
  // runtime's pointer, or the centre of the control the menu belongs to
  // where the runtime has none.
  void SetCursorSource(std::function<PLKUI::MPoint()> cursor) { cursor_ = std::move(cursor); }

  // Operations behind the notifications, for the window and for tests.
  void NewMacro();
  void CopyMacro();
  void DeleteMacro();
  void RenameMacro();
  void ShowSelectedMacro();
  void ToggleRecording();
  void SaveSteps();
  void SaveSettings();

 private:
  PLKUI::MacroList* Macros() const;
  PLKUI::CRecordList* Steps() const;
  int SelectedMacroId() const;
  int StepCount() const;
  int FreeTimestamp(int candidate) const;
  PLKUI::MPoint CursorOver(int control_id) const;

  // Recorder (macro_recorder.cpp).
  void StartRecording();
  void StopRecording();
  void EnableRecordingControls(bool enabled);
  void RecordEvent(const CapturedInput& input);
  bool InsideRecordButton(const CapturedInput& input) const;
  int RecordedDelay();

  // Step editor (macro_step_editor.cpp).
  void ShowStep();
  void ChangeStepKind();
  void OnStepValue(int code);
  void ApplyStepButton();
  void ApplyMove(int horizontal_limit);
  void MoveStep(int item);
  void OpenInsertMenu();
  void InsertStep(int item);
  void DeleteStep();
  void CaptureStepKey(const CapturedInput& input);

  // Settings edits (code 29).
  void ClampDelayEdit();
  void ClampRepeatEdit();

  DeviceMainDlg& w_;
  std::function<PLKUI::MPoint()> cursor_;

  std::mutex refresh_mutex_;
  std::atomic<bool> recording_{false};
  std::atomic<bool> refresh_deferred_{false};
  int capture_mode_ = kCaptureNone;
  std::unique_ptr<KeyCapture> capture_;
  int delay_mode_ = 0;
  bool have_last_tick_ = false;
  uint64_t last_tick_us_ = 0;
  int fixed_delay_ = 0;
  int timestamp_ = 0;
  int step_limit_ = kStepLimit;
  bool left_out_keys_ = false;  // the recording met keys the mouse cannot send
  int captured_code_ = 0;
  std::wstring captured_name_;
};

}  // namespace tk410
