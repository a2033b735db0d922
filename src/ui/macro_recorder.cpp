// The macro page's recorder: start and stop, and one recorded step per
// captured key or button event, with the delays between them.

#include <algorithm>

#include "assign/key_tables.h"
#include "base/clock.h"
#include "base/text.h"
#include "macro/macro_steps.h"
#include "plkui/controls.h"
#include "ui/device_main_dlg.h"
#include "ui/macro_page.h"
#include "ui/macro_page_controls.h"
#include "ui/message_box.h"

namespace tk410 {

namespace {

// Disabled while recording, so the page cannot be left and the list cannot
// change under the recorder; the record button stays enabled.
constexpr int kLockedWhileRecording[] = {
    ctl::kTabs,       ctl::kMacroList,  ctl::kMacroNew,     ctl::kMacroImport,  ctl::kMacroExport,
    ctl::kStepList,   ctl::kStepInsert, ctl::kStepDelete,   ctl::kDelayNone,    ctl::kDelayRecorded,
    ctl::kDelayFixed, ctl::kDelayEdit,  ctl::kPlayMode1,    ctl::kPlayMode2,    ctl::kPlayRepeat,
    ctl::kRepeatEdit, ctl::kStepKind,   ctl::kStepValueLabel, ctl::kStepValue,  ctl::kStepButton,
    ctl::kStepUp,     ctl::kStepDown,
};

constexpr int kTextRecord = 358;
constexpr int kTextKeysLeftOut = 971;

int SelectedDelayMode(DeviceMainDlg& w) {
  if (IsChecked(w, ctl::kDelayNone)) return kDelayNone;
  if (IsChecked(w, ctl::kDelayFixed)) return kDelayFixed;
  return kDelayRecorded;
}

void SetRecordButton(DeviceMainDlg& w, int text_id, const wchar_t* icon) {
  if (auto* button = w.Control<PLKUI::CIconButton>(ctl::kRecord)) {
    button->SetTitle(w.LangText(text_id));
    button->SetIcon(icon);
  }
}

}  // namespace

void MacroPage::ToggleRecording() {
  if (SelectedMacroId() <= 0) {
    w_.ShowMessageBox(358, 387, kBoxOneButton);
    return;
  }
  step_limit_ = kStepLimit;
  if (recording_.load())
    StopRecording();
  else
    StartRecording();
}

void MacroPage::EnableRecordingControls(bool enabled) {
  for (int id : kLockedWhileRecording)
    if (auto* c = w_.GetControl(id)) c->SetEnabled(enabled);
}

void MacroPage::StartRecording() {
  capture_.reset();
  left_out_keys_ = false;
  Clock& clock = w_.GetClock();
  timestamp_ = static_cast<int>(static_cast<uint32_t>(clock.TickMs()));
  have_last_tick_ = false;
  last_tick_us_ = 0;
  delay_mode_ = SelectedDelayMode(w_);
  fixed_delay_ = 0;
  if (delay_mode_ == kDelayFixed) {
    auto* edit = w_.Control<PLKUI::MEdit>(ctl::kDelayEdit);
    std::wstring text = edit ? edit->GetEditText() : std::wstring();
    if (text.empty()) {
      text = FormatInt(kDefaultFixedDelayMs);
      if (edit) edit->SetEditText(text);
    }
    fixed_delay_ = WToI(text);
  }
  {
    // A page refresh under way finishes first; later ones wait for the stop.
    std::lock_guard<std::mutex> lock(refresh_mutex_);
    recording_.store(true);
  }
  capture_mode_ = kCaptureRecord;
  capture_ = std::make_unique<KeyCapture>(w_.Services().raw_input);
  capture_->StartCapture(w_);
  SetRecordButton(w_, 359, L"icon\\icon_stop_rec.png");
  EnableRecordingControls(false);
}

void MacroPage::StopRecording() {
  capture_.reset();
  capture_mode_ = kCaptureNone;
  SaveSteps();
  SetRecordButton(w_, 358, L"icon\\icon_rec.png");
  EnableRecordingControls(true);
  {
    std::lock_guard<std::mutex> lock(refresh_mutex_);
    recording_.store(false);
  }
  // A refresh asked for while recording runs now, from the saved steps.
  if (refresh_deferred_.exchange(false)) w_.ShowMacroPage();
  if (left_out_keys_) {
    left_out_keys_ = false;
    w_.ShowMessageBox(kTextRecord, kTextKeysLeftOut, kBoxOneButton);
  }
}

bool MacroPage::InsideRecordButton(const CapturedInput& input) const {
  if (!input.has_cursor) return false;
  auto* button = w_.GetControl(ctl::kRecord);
  if (!button) return false;
  const PLKUI::MRect window = w_.GetWindowRect();
  const PLKUI::MRect r = button->GetRect();
  const int x = input.cursor_x - window.left;
  const int y = input.cursor_y - window.top;
  return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
}

int MacroPage::RecordedDelay() {
  if (delay_mode_ == kDelayFixed) return fixed_delay_;
  if (delay_mode_ != kDelayRecorded) return 0;
  // Microseconds, rounded to the nearest millisecond: a recorded gap stays
  // within a millisecond of the real one.
  const uint64_t now = w_.GetClock().TickUs();
  int delay = 0;
  if (have_last_tick_) {
    const uint64_t gap_ms = (now - last_tick_us_ + 500) / 1000;
    delay = static_cast<int>(std::min<uint64_t>(gap_ms, kMaxStepDelayMs));
  }
  have_last_tick_ = true;
  last_tick_us_ = now;
  return delay;
}

void MacroPage::RecordEvent(const CapturedInput& input) {
  if (input.text.empty() || input.kind == kCapturedIgnore || input.kind == kCapturedOther) return;
  auto* steps = Steps();
  if (!steps) return;
  MacroEventType type;
  if (input.kind == kCapturedMouse) {
    // The click that stops the recording is not part of it.
    if (InsideRecordButton(input)) return;
    type = input.released ? MacroEventType::ButtonUp : MacroEventType::ButtonDown;
  } else {
    // A key the mouse cannot send (no HID usage) would play nothing: left out.
    if (VirtualKeyToUsage(input.code) == 0) {
      left_out_keys_ = true;
      return;
    }
    type = input.released ? MacroEventType::KeyUp : MacroEventType::KeyDown;
  }

  const int delay = RecordedDelay();
  if (delay != 0) {
    timestamp_ = FreeTimestamp(timestamp_ + 1);
    steps->AddString(DelayStepText(delay), static_cast<int>(MacroEventType::Delay), delay, timestamp_);
  }
  if (StepCount() >= step_limit_) {
    StopRecording();  // the event itself is dropped
    return;
  }
  const bool down = type == MacroEventType::KeyDown || type == MacroEventType::ButtonDown;
  timestamp_ = FreeTimestamp(timestamp_ + 1);
  steps->AddString(PressStepText(down, input.text), static_cast<int>(type), input.code, timestamp_);
  if (StepCount() >= step_limit_) StopRecording();
}

void MacroPage::OnRawInput(intptr_t handle) {
  if (!capture_) return;
  CapturedInput input;
  capture_->DecodeRawInput(handle, input);
  if (capture_mode_ == kCaptureRecord)
    RecordEvent(input);
  else if (capture_mode_ == kCaptureStepKey)
    CaptureStepKey(input);
}

}  // namespace tk410
