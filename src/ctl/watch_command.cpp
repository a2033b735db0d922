// watch [SECONDS]: the window's own life without a display. Start-up runs as
// in the GUI (the udev monitor, the scan, the worker thread with its initial
// read and status poll), the window's messages are delivered here, and every
// change the user would see is printed as one line:
//
//   connection: <the connection text>
//   initial read done
//   dpi stage: <1..6>
//
// It ends after SECONDS (default 10) or on SIGTERM / SIGINT.

#include <signal.h>

#include <chrono>
#include <cstdio>

#include "base/text.h"
#include "ctl/commands.h"
#include "ctl/terminal_text.h"
#include "ctl/ctl_options.h"
#include "ctl/ctl_session.h"
#include "device/product.h"
#include "plkui/controls.h"
#include "plkui/headless_runtime.h"
#include "plkui/manager.h"
#include "ui/device_main_dlg.h"

namespace tk410::ctl_tool {

namespace {

constexpr long long kDefaultSeconds = 10;
constexpr long long kMaxSeconds = 24 * 3600;
constexpr long kTurnMs = 20;

void PrintLine(const std::string& line) {
  std::printf("%s\n", line.c_str());
  std::fflush(stdout);
}

// What the watch prints, as last seen.
struct Seen {
  std::wstring connection;
  bool initial_read = false;
  int dpi_control = -1;
};

void PrintChanges(DeviceMainDlg& window, Seen* seen) {
  std::wstring connection;
  if (auto* state = window.Control<PLKUI::MControlFont>(ctl::kDeviceState)) connection = state->GetTitle();
  if (connection != seen->connection) {
    seen->connection = connection;
    PrintLine("connection: " + TerminalText(connection));
  }
  const bool initial_read = window.initial_read_done.load() != 0;
  if (initial_read && !seen->initial_read) PrintLine("initial read done");
  seen->initial_read = initial_read;
  const int dpi_control = window.current_dpi_control.load();
  if (dpi_control != seen->dpi_control) {
    seen->dpi_control = dpi_control;
    const int stage = dpi_control - ctl::kFirstDpiStage + 1;
    if (stage >= 1 && stage <= 6) PrintLine("dpi stage: " + std::to_string(stage));
  }
}

}  // namespace

Outcome WatchCommand(Session& session, const Args& args) {
  long long seconds = kDefaultSeconds;
  if (args.size() > 1 || (args.size() == 1 && (!ParseInt(args[0], &seconds) || seconds < 0 ||
                                               seconds > kMaxSeconds))) {
    return Outcome::Fail(kExitUsage, "watch takes one argument: the seconds to run (0.." +
                                         std::to_string(kMaxSeconds) + ")");
  }
  if (!session.Options().simulate.empty()) {
    return Outcome::Fail(kExitUsage, "watch works on the attached devices only, not --simulate");
  }
  if (Outcome opened = session.OpenDevices(); !opened.ok()) return opened;

  // The two stop signals wait for sigtimedwait below. Blocked before the
  // window starts its threads, so none of them takes the signal instead.
  sigset_t stop_signals;
  sigemptyset(&stop_signals);
  sigaddset(&stop_signals, SIGTERM);
  sigaddset(&stop_signals, SIGINT);
  pthread_sigmask(SIG_BLOCK, &stop_signals, nullptr);

  PLKUI::HeadlessRuntime runtime;
  PLKUI::ScopedRuntime scoped_runtime(runtime);
  DeviceMainDlg& window = session.Window();
  // Builds the controls and runs start-up with the worker, as the GUI does.
  if (!window.Create(nullptr, kProductName, 0, 0, PLKUI::MRect{0, 0, 1121, 780})) {
    return Outcome::Fail(kExitData, "the window model could not be created");
  }

  Seen seen;
  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
  bool stopped = false;
  while (!stopped && std::chrono::steady_clock::now() < end) {
    runtime.PumpMessages();
    PrintChanges(window, &seen);
    const timespec turn{0, kTurnMs * 1000000L};
    stopped = sigtimedwait(&stop_signals, nullptr, &turn) > 0;
  }
  window.StopWorker();
  runtime.PumpMessages();
  PrintChanges(window, &seen);
  PrintLine(stopped ? "watch stopped" : "watch ended");
  // The window leaves this runtime before the runtime goes.
  window.DestroyWindow();
  return Outcome::Ok();
}

}  // namespace tk410::ctl_tool
