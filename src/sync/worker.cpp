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
constexpr intptr_t kResultWritten = 1;
constexpr intptr_t kResultRestored = 2;

using Step = std::function<void()>;

// Runs `steps` in order until `stopping` is set; false when it was.
bool RunSteps(const std::atomic<bool>& stopping, std::initializer_list<Step> steps) {
  for (const Step& step : steps) {
    if (stopping.load()) return false;
    step();
  }
  return !stopping.load();
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
  auto run = [this](std::initializer_list<Step> steps) { return RunSteps(worker_stopping_, steps); };

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

  bool go_on = true;
  if (*kind == kTaskDeviceArrival) {
    go_on = run({[this] { GetClock().SleepMs(kArrivalSettleMs); },
                 [this] { ScanAndUpdate(); },
                 [this] {
                   if (IsNordicFamily()) {
                     NordicRoutines(*this).ConnectionSequence(false);
                   } else {
                     ReadSequence(false);
                   }
                 },
                 [this] { InitialSequence(); }});
  } else if (*kind == kTaskDeviceRemoval) {
    go_on = run({[this] { ScanAndUpdate(); }, [this] { ReadSequence(true); }});
  }
  if (!go_on || !online.load()) return;
  RunTask(*kind);
}

void DeviceMainDlg::ReadSequence(bool after_removal) {
  WiredRoutines wired(*this);
  RunSteps(worker_stopping_, {[this] { RefreshProfileList(); },
                              [&wired] { wired.ReadAll(); },
                              [this] { FillFunctionLists(); },
                              [this] {
                                selected_button.store(0);
                                RefreshKeyPage();
                              },
                              [this] { ShowMacroPage(); },
                              [this] { LoadPerformancePage(); },
                              [&wired] { wired.VersionLabels(); },
                              [&wired, after_removal] {
                                if (!after_removal) wired.FirmwareVersionLabel();
                              }});
}

void DeviceMainDlg::InitialSequence() {
  if (initial_read_done.load() != 0) return;
  if (IsNordicFamily()) {
    NordicRoutines(*this).InitialConnection();  // sets initial read done itself
    return;
  }
  ReadSequence(false);
  if (!WorkerStopping()) initial_read_done.store(1);
}

void DeviceMainDlg::RunTask(int kind) {
  WiredRoutines wired(*this);
  NordicRoutines nordic(*this);
  const bool nordic_family = IsNordicFamily();
  auto run = [this](std::initializer_list<Step> steps) { return RunSteps(worker_stopping_, steps); };
  // A Nordic operation followed by the pause and the commit.
  auto committed = [this, &nordic](void (NordicRoutines::*operation)()) -> Step {
    return [this, &nordic, operation] {
      (nordic.*operation)();
      GetClock().SleepMs(kNordicCommitPauseMs);
      nordic.CommitNordic();
    };
  };
  auto close_wait = [this] { CloseWait(); };
  auto page_reload = [this] {
    RefreshProfileList();
    FillFunctionLists();
    selected_button.store(0);
    RefreshKeyPage();
    ShowMacroPage();
    LoadPerformancePage();
  };

  switch (kind) {
    case kTaskInitialSync:
      InitialSequence();
      break;
    case kTaskResync:
      if (nordic_family) {
        run({[&nordic] { nordic.ConnectionSequence(true); }, close_wait});
      } else {
        run({[this] { ReadSequence(false); }, close_wait});
      }
      break;
    case kTaskProfileSwitch:
      if (nordic_family) {
        run({committed(&NordicRoutines::SelectNordicProfile), close_wait});
      } else {
        run({page_reload, close_wait});
      }
      break;
    case kTaskWriteAll: {
      // Macros the mouse could not take (more than it holds) are named in the notice.
      MacroShortfall shortfall;
      macros_not_written.Set({});
      const bool done =
          nordic_family
              // The settings the user changed travel with the assignments:
              // nothing else queues a Nordic settings write.
              ? run({[this, &nordic, &shortfall] {
                       NordicMacroResult macros = nordic.MacroDownload();
                       shortfall = {macros.given - static_cast<int>(macros.not_whole.size()), macros.given};
                       macros_not_written.Set(std::move(macros.not_whole));
                     },
                     [&nordic] { nordic.KeyDownload(); },
                     [&nordic] { nordic.WriteNordicSettings(); },
                     committed(&NordicRoutines::WriteNordicReportRate), close_wait})
              : run({[this, &wired, &shortfall] {
                       MacroDownloadResult macros = wired.MacroDownload();
                       if (!macros.Complete()) shortfall = {macros.macros_sent, macros.macros_given};
                       macros_not_written.Set(std::move(macros.left_out));
                     },
                     [&wired] { wired.KeyDownload(); }, [&wired] { wired.WriteSettings(); },
                     [&wired] { wired.WriteDpiStage(); }, [&wired] { wired.WriteReportRate(); },
                     close_wait});
      if (done) PostMessage(kMsgDeviceResult, shortfall.ToParam(), kResultWritten);
      break;
    }
    case kTaskReadAll:
      // The Nordic family reads with its own command set (the wired read
      // sends nothing to a Nordic device).
      run({nordic_family ? Step([&nordic] { nordic.ReadAll(); }) : Step([&wired] { wired.ReadAll(); }),
           [this] {
             FillFunctionLists();
             RefreshKeyPage();
           },
           [this] { LoadPerformancePage(); }, [this] { ShowMacroPage(); }, close_wait});
      break;
    case kTaskDefaultKeys:
      run({nordic_family ? committed(&NordicRoutines::RestoreNordicButton)
                         : Step([&wired] { wired.DefaultKeyWrite(); }),
           close_wait});
      break;
    case kTaskLightMode:
      run({[&wired] { wired.WriteLightMode(); }, close_wait});
      break;
    case kTaskDpiStage:
    case kTaskWriteSettings:
      run({nordic_family ? committed(&NordicRoutines::WriteNordicSettings)
           : kind == kTaskDpiStage ? Step([&wired] { wired.WriteDpiStage(); })
                                   : Step([&wired] { wired.WriteSettings(); }),
           close_wait});
      break;
    case kTaskReportRate:
      run({nordic_family ? committed(&NordicRoutines::WriteNordicReportRate)
                         : Step([&wired] { wired.WriteReportRate(); }),
           close_wait});
      break;
    case kTaskWriteSettingsQuiet:
      run({nordic_family ? committed(&NordicRoutines::WriteNordicSettings)
                         : Step([&wired] { wired.WriteSettings(); })});
      break;
    case kTaskRestoreProfile: {
      const bool done =
          nordic_family
              ? run({committed(&NordicRoutines::RestoreNordicDefaults), close_wait})
              : run({[&wired] { wired.KeyDownload(); }, [&wired] { wired.WriteSettings(); },
                     [&wired] { wired.WriteDpiStage(); }, [&wired] { wired.WriteReportRate(); },
                     [this] { RestorePointerDefaults(); },
                     [this] {
                       light_value.store(0);
                       Db().SetConfigValue(current_profile.load(), L"light_mode", L"0");
                     },
                     [&wired] { wired.WriteLightMode(); }, close_wait});
      if (done) PostMessage(kMsgDeviceResult, 0, kResultRestored);
      break;
    }
    case kTaskFactoryReset:
      if (nordic_family) {
        run({committed(&NordicRoutines::FactoryResetNordic), [this] { RestorePointerDefaults(); }});
      } else {
        run({[&wired] { wired.RestoreSequence(); },
             [this] {
               // The macro page's step editor and move editor.
               for (int id = ctl::kStepKindLabel; id <= ctl::kMoveY; ++id) {
                 if (auto* c = Control<PLKUI::MControl>(id)) c->SetVisible(false);
               }
             },
             [this] { RestorePointerDefaults(); }});
      }
      break;
    case kTaskImportNordic:
      run({[&nordic] { nordic.DownloadNordicProfile(); }, close_wait});
      break;
    default:
      // DeviceArrival and DeviceRemoval did their work before the online
      // check; kind 14 and unknown kinds are ignored.
      break;
  }
}

}  // namespace tk410
