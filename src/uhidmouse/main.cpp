// tk410-uhid-mouse: a virtual mouse on the kernel's uhid interface.
// Creates a HID device through /dev/uhid whose replies come from a firmware
// model, so the real program (hidapi on hidraw, udev hot-plug, the node's
// access rights) can be tried without the mouse.
//
//   tk410-uhid-mouse --kind wired [--state FILE] [--late-reply N] [--late-ms MS]
//                    [--fault FAULT[:N]]... [--usr1-report STAGE,RATE]
//   tk410-uhid-mouse --kind receiver [--state FILE] [--late-reply N] [--late-ms MS]
//                    [--fault FAULT[:N]]...
//
// FAULT is stray-report (a DPI button status report right before the
// reply), late-reply (the reply MS after the request, 1500 by default) or
// duplicate-reply (the reply twice), on request N (1-based, counting the
// output reports that reach the firmware) or without N on every request.
// --late-reply N is --fault late-reply:N.
//
// wired: the wired mouse 1209:0001. SIGUSR1 raises a stage-and-rate status
// report (default stage 3 at the mouse's report rate), SIGUSR2 a battery
// report (50 %).
// receiver: the Nordic receiver 1209:0004 with the mouse linked behind it.
// SIGUSR1 unlinks the mouse, or links it again, with the receiver's status
// report; SIGUSR2 raises the mouse's status report.
// Both: SIGHUP saves the state file. SIGTERM or SIGINT save the state file,
// destroy the device and end the program. Exit codes: 0 done, 2 usage
// error, 3 state file error, 4 /dev/uhid not usable.

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/signalfd.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "sim/state_text.h"
#include "sim/uhid_nordic_front_end.h"
#include "sim/uhid_wired_front_end.h"

namespace tk410 {
namespace {

struct Options {
  std::string kind;
  std::string state;
  UhidMouseOptions mouse;
  std::vector<TimingFaultSwitch> faults;
  int usr1_stage = 3;
  int usr1_rate = -1;  // -1: the mouse's own report rate
};

int Usage(const std::string& error) {
  std::fprintf(stderr,
               "tk410-uhid-mouse: %s\n"
               "usage: tk410-uhid-mouse --kind wired [--state FILE] [--late-reply N] [--late-ms MS]\n"
               "                        [--fault FAULT[:N]]... [--usr1-report STAGE,RATE]\n"
               "       tk410-uhid-mouse --kind receiver [--state FILE] [--late-reply N] [--late-ms MS]\n"
               "                        [--fault FAULT[:N]]...\n"
               "FAULT: stray-report, late-reply or duplicate-reply; N: the request it hits\n"
               "(1-based), without N every request\n",
               error.c_str());
  return 2;
}

// A decimal number within [low, high]; nothing else is taken.
bool ParseNumber(const std::string& text, long long low, long long high, long long* out) {
  if (text.empty() || text.size() > 12 || text.find_first_not_of("0123456789") != std::string::npos) {
    return false;
  }
  *out = std::strtoll(text.c_str(), nullptr, 10);
  return *out >= low && *out <= high;
}

bool Parse(int argc, char** argv, Options* o, std::string* error) {
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (i + 1 >= argc) {
      *error = "option " + arg + " needs a value";
      return false;
    }
    const std::string value = argv[++i];
    long long n = 0;
    if (arg == "--kind") {
      o->kind = value;
    } else if (arg == "--state") {
      o->state = value;
    } else if (arg == "--late-reply" && ParseNumber(value, 0, 1000000, &n)) {
      o->mouse.late_reply = static_cast<int>(n);
    } else if (arg == "--late-ms" && ParseNumber(value, 0, 60000, &n)) {
      o->mouse.late_ms = static_cast<uint32_t>(n);
    } else if (arg == "--fault") {
      TimingFaultSwitch fault;
      if (!ParseTimingFault(value, &fault)) {
        *error = "--fault takes stray-report, late-reply or duplicate-reply, optionally :N (N from 1), not " +
                 value;
        return false;
      }
      o->faults.push_back(fault);
    } else if (arg == "--usr1-report") {
      const size_t comma = value.find(',');
      long long stage = 0;
      long long rate = 0;
      if (comma == std::string::npos || !ParseNumber(value.substr(0, comma), 1, 6, &stage) ||
          !ParseNumber(value.substr(comma + 1), 0, 255, &rate)) {
        *error = "--usr1-report takes STAGE,RATE (stage 1..6)";
        return false;
      }
      o->usr1_stage = static_cast<int>(stage);
      o->usr1_rate = static_cast<int>(rate);
    } else {
      *error = "unknown option or bad value: " + arg + " " + value;
      return false;
    }
  }
  if (o->kind != "wired" && o->kind != "receiver") {
    *error = o->kind.empty() ? "--kind wired or --kind receiver is required"
                             : "--kind " + o->kind + " is not available; use wired or receiver";
    return false;
  }
  if (o->kind == "receiver" && o->usr1_rate >= 0) {
    *error = "--usr1-report is for --kind wired";
    return false;
  }
  return true;
}

uint64_t NowMs() {
  timespec ts{};
  ::clock_gettime(CLOCK_MONOTONIC, &ts);
  return static_cast<uint64_t>(ts.tv_sec) * 1000 + static_cast<uint64_t>(ts.tv_nsec) / 1000000;
}

bool WriteEvent(int fd, const uhid_event& event) {
  const ssize_t n = ::write(fd, &event, sizeof(event));
  if (n != static_cast<ssize_t>(sizeof(event))) {
    std::fprintf(stderr, "tk410-uhid-mouse: writing to /dev/uhid failed: %s\n",
                 n < 0 ? std::strerror(errno) : "short write");
    return false;
  }
  return true;
}

// What the serving loop needs of one kind of device besides its front end.
struct Kind {
  // The events to write for a user signal (SIGUSR1, SIGUSR2).
  std::function<std::vector<uhid_event>(int signal)> on_signal;
  // Writes the state file; false on failure.
  std::function<bool(const std::string& path)> save;
};

bool SaveState(const Kind& kind, const std::string& path) {
  if (path.empty() || kind.save(path)) return true;
  std::fprintf(stderr, "tk410-uhid-mouse: cannot save the state file %s\n", path.c_str());
  return false;
}

int Serve(UhidFrontEnd& front, const Kind& kind, const std::string& state) {
  sigset_t signals;
  sigemptyset(&signals);
  for (int s : {SIGTERM, SIGINT, SIGUSR1, SIGUSR2, SIGHUP}) sigaddset(&signals, s);
  ::sigprocmask(SIG_BLOCK, &signals, nullptr);
  const int signal_fd = ::signalfd(-1, &signals, SFD_CLOEXEC);

  const int fd = ::open("/dev/uhid", O_RDWR | O_CLOEXEC);
  if (fd < 0) {
    std::fprintf(stderr, "tk410-uhid-mouse: cannot open /dev/uhid: %s\n", std::strerror(errno));
    return 4;
  }
  const uhid_event create = front.CreateEvent();
  if (signal_fd < 0 || !WriteEvent(fd, create)) {
    ::close(fd);
    return 4;
  }
  std::printf("tk410-uhid-mouse: created %04x:%04x\n", create.u.create2.vendor,
              create.u.create2.product);
  std::fflush(stdout);

  int code = 0;
  bool running = true;
  while (running) {
    int timeout = -1;
    if (auto due = front.NextDue()) {
      const uint64_t now = NowMs();
      timeout = *due <= now ? 0 : static_cast<int>(*due - now);
    }
    pollfd fds[2] = {{fd, POLLIN, 0}, {signal_fd, POLLIN, 0}};
    if (::poll(fds, 2, timeout) < 0 && errno != EINTR) {
      code = 4;
      break;
    }
    std::vector<uhid_event> out = front.TakeDue(NowMs());
    if (fds[0].revents & (POLLERR | POLLHUP)) {
      code = 4;
      break;
    }
    if (fds[0].revents & POLLIN) {
      uhid_event event;
      const ssize_t n = ::read(fd, &event, sizeof(event));
      if (n > 0) {
        for (const uhid_event& reply : front.OnEvent(event, NowMs())) out.push_back(reply);
      }
    }
    if (fds[1].revents & POLLIN) {
      signalfd_siginfo info{};
      if (::read(signal_fd, &info, sizeof(info)) == static_cast<ssize_t>(sizeof(info))) {
        const int signo = static_cast<int>(info.ssi_signo);
        if (signo == SIGUSR1 || signo == SIGUSR2) {
          for (const uhid_event& e : kind.on_signal(signo)) out.push_back(e);
        } else if (signo == SIGHUP) {
          SaveState(kind, state);
        } else {
          running = false;
        }
      }
    }
    for (const uhid_event& e : out) {
      if (!WriteEvent(fd, e)) running = false;
    }
  }
  if (!SaveState(kind, state) && code == 0) code = 3;
  WriteEvent(fd, UhidFrontEnd::DestroyEvent());
  ::close(fd);
  std::printf("tk410-uhid-mouse: destroyed after %d answered requests\n", front.Answered());
  return code;
}

int StateFileUnreadable(const std::string& path) {
  std::fprintf(stderr, "tk410-uhid-mouse: cannot read the state file %s\n", path.c_str());
  return 3;
}

int RunWired(const Options& options) {
  WiredFirmware firmware;
  if (!options.state.empty() && std::filesystem::exists(options.state) &&
      !firmware.LoadFromFile(options.state)) {
    return StateFileUnreadable(options.state);
  }
  UhidWiredFrontEnd front(firmware, options.mouse);
  for (const TimingFaultSwitch& fault : options.faults) front.AddTimingFault(fault);
  Kind kind;
  kind.on_signal = [&](int signo) -> std::vector<uhid_event> {
    if (signo == SIGUSR2) return {front.RaiseBattery(50, 0)};
    const auto& block = firmware.Settings(firmware.ActiveProfile());
    const int rate = options.usr1_rate >= 0
                         ? options.usr1_rate
                         : block[WiredSettingsBlock::kReportRateAt - WiredSettingsBlock::kFrameOffset];
    return {front.RaiseStageAndRate(static_cast<uint8_t>(options.usr1_stage),
                                    static_cast<uint8_t>(rate))};
  };
  kind.save = [&](const std::string& path) { return firmware.SaveToFile(path); };
  return Serve(front, kind, options.state);
}

int RunReceiver(const Options& options) {
  NordicReceiverFirmware firmware(/*receiver=*/true);
  if (!options.state.empty() && std::filesystem::exists(options.state)) {
    std::string text;
    if (!sim_state::ReadFile(options.state, &text) || !firmware.Load(text)) {
      return StateFileUnreadable(options.state);
    }
  }
  UhidNordicFrontEnd front(firmware, 0x1209, 0x0004);
  front.SetLateMs(options.mouse.late_ms);
  if (options.mouse.late_reply > 0) front.AddTimingFault({TimingFault::kLateReply, options.mouse.late_reply});
  for (const TimingFaultSwitch& fault : options.faults) front.AddTimingFault(fault);
  Kind kind;
  kind.on_signal = [&](int signo) -> std::vector<uhid_event> {
    const std::optional<uhid_event> report =
        signo == SIGUSR1 ? front.SetLinked(!firmware.Linked()) : front.RaiseMouseStatus();
    if (!report) return {};
    return {*report};
  };
  kind.save = [&](const std::string& path) { return sim_state::WriteFile(path, firmware.Save()); };
  return Serve(front, kind, options.state);
}

int Run(const Options& options) {
  return options.kind == "receiver" ? RunReceiver(options) : RunWired(options);
}

}  // namespace
}  // namespace tk410

int main(int argc, char** argv) {
  tk410::Options options;
  std::string error;
  if (!tk410::Parse(argc, argv, &options, &error)) return tk410::Usage(error);
  return tk410::Run(options);
}
