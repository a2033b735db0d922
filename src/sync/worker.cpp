// The sync worker: one task per turn, the read and initial sequences, the
// action of every task kind, and starting and stopping the worker thread.
//
// The Windows program asks for a 1 ms system timer resolution for the
// length of each turn; Linux timers need no such request, so the turn has
// no such step.
//
// Stopping: StopWorker marks the worker as stopping before it waits, and a
// task checks the mark between its steps, so a close during a long task
// waits at most for the device exchange in progress, never for the rest of
// the task. After the bounded wait for the loop, StopWorker also waits for
// the thread itself: nothing of the window is destroyed while the worker
// can still touch it.

#include <atomic>
#include <functional>
#include <initializer_list>

#include "base/clock.h"
#include "store/config_database.h"
#include "sync/nordic_routines.h"
#include "sync/wired_routines.h"
#include "ui/device_main_dlg.h"

namespace tk410 {

namespace {

constexpr uint32_t kWorkerPauseMs = 30;
constexpr uint32_t kStopWaitMs = 1000;
constexpr uint32_t kArrivalSettleMs = 1000;
constexpr uint32_t kNordicCommitPauseMs = 100;

// One step of a task; false when the mouse left a request of it unanswered.
using Step = std::function<bool()>;

// What running the steps of a task gave.
struct StepsOutcome {
  bool done = true;      // every step ran (the worker was not stopped)
  bool answered = true;  // and the mouse answered every one of them
};

// Runs `steps` in order until `stopping` is set. A step the mouse did not
// answer does not stop the task: the next step may still reach the mouse.
StepsOutcome RunSteps(const std::atomic<bool>& stopping, std::initializer_list<Step> steps) {
  StepsOutcome outcome;
  for (const Step& step : steps) {
    if (stopping.load()) {
      outcome.done = false;
      break;
    }
    outcome.answered = step() && outcome.answered;
  }
  if (stopping.load()) outcome.done = false;
  return outcome;
}

// A step that does no device I/O.
template <typename F>
Step Local(F f) {
  return [f] {
    f();
    return true;
  };
}

}  // namespace

void DeviceMainDlg::ThreadBody() { WorkerTurn(); }

void DeviceMainDlg::StartWorker() {
  worker_stopping_.store(false);
  StartThread(GetClock(), kWorkerPauseMs);
}

void DeviceMainDlg::StopWorker() {
  // No more device changes for a window that is closing.
  SetDeviceChangeSource(nullptr);
  worker_stopping_.store(true);
  StopThread(kStopWaitMs);
  JoinThread();
  tasks.Clear();
}

void DeviceMainDlg::WorkerTurn() {
  auto run = [this](std::initializer_list<Step> steps) { return RunSteps(worker_stopping_, steps).done; };

  const std::optional<int> kind = tasks.TryPop();
  if (!kind) {
    if (!online.load() || WorkerStopping()) return;
    if (IsNordicFamily()) {
      NordicRoutines(*this).StatusPoll();
    } else {
      WiredRoutines(*this).StatusPoll();
    }
    return;
  }

  if (*kind == kTaskInitialSync) PrepareStore();
  bool go_on = true;
  if (*kind == kTaskDeviceArrival) {
    go_on = run({Local([this] { GetClock().SleepMs(kArrivalSettleMs); }),
                 Local([this] { ScanAndUpdate(); }),
                 Local([this] {
                   if (IsNordicFamily()) {
                     NordicRoutines(*this).ConnectionSequence(false);
                   } else {
                     ReadSequence(false);
                   }
                 }),
                 Local([this] { InitialSequence(); })});
  } else if (*kind == kTaskDeviceRemoval) {
    go_on = run({Local([this] { ScanAndUpdate(); }), Local([this] { ReadSequence(true); })});
  }
  if (go_on && online.load()) RunTask(*kind);
  // Also when InitialSync found the mouse gone or was another family's.
  if (*kind == kTaskInitialSync) EndFirstRead();
}

void DeviceMainDlg::ReadSequence(bool after_removal) {
  WiredRoutines wired(*this);
  RunSteps(worker_stopping_, {Local([this] { RefreshProfileList(); }),
                              [&wired] { return wired.ReadAll(); },
                              Local([this] { FillFunctionLists(); }),
                              Local([this] {
                                selected_button.store(0);
                                RefreshKeyPage();
                              }),
                              Local([this] { ShowMacroPage(); }),
                              Local([this] { LoadPerformancePage(); }),
                              Local([&wired] { wired.VersionLabels(); }),
                              [&wired, after_removal] { return after_removal || wired.FirmwareVersionLabel(); }});
}

void DeviceMainDlg::InitialSequence() {
  if (initial_read_done.load() != 0) return;
  if (IsNordicFamily()) {
    NordicRoutines(*this).InitialConnection();  // sets initial read done itself
    return;
  }
  ReadSequence(false);
  // The pages are filled: open them before the read is reported done.
  EndFirstRead();
  if (!WorkerStopping()) initial_read_done.store(1);
}

bool DeviceMainDlg::RunTask(int kind) {
  WiredRoutines wired(*this);
  NordicRoutines nordic(*this);
  const bool nordic_family = IsNordicFamily();
  auto run = [this](std::initializer_list<Step> steps) { return RunSteps(worker_stopping_, steps); };
  // A Nordic operation followed by the pause and the commit.
  auto committed = [this, &nordic](bool (NordicRoutines::*operation)()) -> Step {
    return [this, &nordic, operation] {
      const bool answered = (nordic.*operation)();
      GetClock().SleepMs(kNordicCommitPauseMs);
      return nordic.CommitNordic() && answered;
    };
  };
  const Step close_wait = Local([this] { CloseWait(); });
  const Step page_reload = Local([this] {
    RefreshProfileList();
    FillFunctionLists();
    selected_button.store(0);
    RefreshKeyPage();
    ShowMacroPage();
    LoadPerformancePage();
  });
  // The lParam of message 1714: the task, and whether the mouse answered it all.
  auto result = [](intptr_t task, const StepsOutcome& outcome) {
    return outcome.answered ? task : task | kResultNotAnswered;
  };

  StepsOutcome outcome;
  switch (kind) {
    case kTaskInitialSync:
      InitialSequence();
      break;
    case kTaskResync:
      if (nordic_family) {
        outcome = run({Local([&nordic] { nordic.ConnectionSequence(true); }), close_wait});
      } else {
        outcome = run({Local([this] { ReadSequence(false); }), close_wait});
      }
      break;
    case kTaskProfileSwitch:
      outcome = run({nordic_family ? committed(&NordicRoutines::SelectNordicProfile) : page_reload, close_wait});
      break;
    case kTaskWriteAll: {
      // Macros the mouse could not take (more than it holds) are named in the notice.
      MacroShortfall shortfall;
      macros_not_written.Set({});
      outcome =
          nordic_family
              // The settings the user changed travel with the assignments:
              // nothing else queues a Nordic settings write.
              ? run({[this, &nordic, &shortfall] {
                       NordicMacroResult macros = nordic.MacroDownload();
                       shortfall = {macros.given - static_cast<int>(macros.not_whole.size()), macros.given};
                       macros_not_written.Set(std::move(macros.not_whole));
                       return macros.answered;
                     },
                     [&nordic] { return nordic.KeyDownload(); },
                     [&nordic] { return nordic.WriteNordicSettings(); },
                     committed(&NordicRoutines::WriteNordicReportRate), close_wait})
              : run({[this, &wired, &shortfall] {
                       MacroDownloadResult macros = wired.MacroDownload();
                       if (!macros.Complete()) shortfall = {macros.macros_sent, macros.macros_given};
                       macros_not_written.Set(std::move(macros.left_out));
                       return macros.answered;
                     },
                     [&wired] { return wired.KeyDownload(); }, [&wired] { return wired.WriteSettings(); },
                     [&wired] { return wired.WriteDpiStage(); }, [&wired] { return wired.WriteReportRate(); },
                     close_wait});
      if (outcome.done) PostMessage(kMsgDeviceResult, shortfall.ToParam(), result(kResultWritten, outcome));
      break;
    }
    case kTaskReadAll:
      // The Nordic family reads with its own command set (the wired read
      // sends nothing to a Nordic device).
      outcome = run({nordic_family ? Step([&nordic] { return nordic.ReadAll(); })
                                   : Step([&wired] { return wired.ReadAll(); }),
                     Local([this] {
                       FillFunctionLists();
                       RefreshKeyPage();
                     }),
                     Local([this] { LoadPerformancePage(); }), Local([this] { ShowMacroPage(); }), close_wait});
      break;
    case kTaskDefaultKeys:
      outcome = run({nordic_family ? committed(&NordicRoutines::RestoreNordicButton)
                                   : Step([&wired] { return wired.DefaultKeyWrite(); }),
                     close_wait});
      break;
    case kTaskLightMode:
      outcome = run({[&wired] { return wired.WriteLightMode(); }, close_wait});
      break;
    case kTaskDpiStage:
    case kTaskWriteSettings:
      outcome = run({nordic_family ? committed(&NordicRoutines::WriteNordicSettings)
                     : kind == kTaskDpiStage ? Step([&wired] { return wired.WriteDpiStage(); })
                                             : Step([&wired] { return wired.WriteSettings(); }),
                     close_wait});
      break;
    case kTaskReportRate:
      outcome = run({nordic_family ? committed(&NordicRoutines::WriteNordicReportRate)
                                   : Step([&wired] { return wired.WriteReportRate(); }),
                     close_wait});
      break;
    case kTaskWriteSettingsQuiet:
      outcome = run({nordic_family ? committed(&NordicRoutines::WriteNordicSettings)
                                   : Step([&wired] { return wired.WriteSettings(); })});
      break;
    case kTaskRestoreProfile:
      outcome = nordic_family
                    ? run({committed(&NordicRoutines::RestoreNordicDefaults), close_wait})
                    : run({[&wired] { return wired.KeyDownload(); }, [&wired] { return wired.WriteSettings(); },
                           [&wired] { return wired.WriteDpiStage(); }, [&wired] { return wired.WriteReportRate(); },
                           Local([this] { RestorePointerDefaults(); }),
                           Local([this] {
                             light_value.store(0);
                             Db().SetConfigValue(current_profile.load(), L"light_mode", L"0");
                           }),
                           [&wired] { return wired.WriteLightMode(); }, close_wait});
      if (outcome.done) PostMessage(kMsgDeviceResult, 0, result(kResultRestored, outcome));
      break;
    case kTaskFactoryReset:
      if (nordic_family) {
        outcome = run({committed(&NordicRoutines::FactoryResetNordic), Local([this] { RestorePointerDefaults(); })});
      } else {
        outcome = run({[&wired] { return wired.RestoreSequence(); },
                       Local([this] {
                         // The macro page's step editor and move editor.
                         for (int id = ctl::kStepKindLabel; id <= ctl::kMoveY; ++id) {
                           if (auto* c = Control<PLKUI::MControl>(id)) c->SetVisible(false);
                         }
                       }),
                       Local([this] { RestorePointerDefaults(); })});
      }
      break;
    case kTaskImportNordic:
      outcome = run({[&nordic] { return nordic.DownloadNordicProfile(); }, close_wait});
      break;
    default:
      // DeviceArrival and DeviceRemoval did their work before the online
      // check; kind 14 and unknown kinds are ignored.
      break;
  }
  return outcome.done && outcome.answered;
}

}  // namespace tk410
