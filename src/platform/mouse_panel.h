#pragma once
// Opening the desktop's own mouse settings: the panel of the running desktop
// (XDG_CURRENT_DESKTOP) first, then every other known panel, the first one
// installed is started detached.

#include <string>
#include <string_view>
#include <vector>

namespace tk410 {

struct PanelCommand {
  std::string program;
  std::vector<std::string> arguments;
  bool operator==(const PanelCommand&) const = default;
};

// Seam for the process services the link needs.
class ProcessLauncher {
 public:
  virtual ~ProcessLauncher() = default;
  // True when `program` is an executable found in PATH.
  virtual bool IsInstalled(const std::string& program) = 0;
  // Starts the program without waiting for it; false when it did not start.
  virtual bool StartDetached(const PanelCommand& command) = 0;
};

// The known panels in the order to try for the desktop names in
// `xdg_current_desktop` (a ':'-separated list such as "ubuntu:GNOME"):
// the desktop's own panels first, then the rest, each once.
std::vector<PanelCommand> MousePanelCandidates(std::string_view xdg_current_desktop);

// Starts the first installed candidate; false when none is installed or the
// start failed.
bool OpenMouseSettingsPanel(ProcessLauncher& launcher, std::string_view xdg_current_desktop);
// The same with the session's XDG_CURRENT_DESKTOP.
bool OpenMouseSettingsPanel(ProcessLauncher& launcher);

// Looks programs up in PATH and starts them detached (Qt Core).
class SystemProcessLauncher final : public ProcessLauncher {
 public:
  bool IsInstalled(const std::string& program) override;
  bool StartDetached(const PanelCommand& command) override;
};

}  // namespace tk410
