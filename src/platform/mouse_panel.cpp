#include "platform/mouse_panel.h"

#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QStringList>
#include <algorithm>
#include <cstdlib>

#include "platform/desktop_names.h"

namespace tk410 {

namespace {

struct KnownPanel {
  const char* desktop;  // a name of XDG_CURRENT_DESKTOP, compared without case
  PanelCommand command;
};

const std::vector<KnownPanel>& KnownPanels() {
  static const std::vector<KnownPanel> panels = {
      {"GNOME", {"gnome-control-center", {"mouse"}}},
      {"KDE", {"systemsettings", {"kcm_mouse"}}},
      {"KDE", {"kcmshell6", {"kcm_mouse"}}},
      {"XFCE", {"xfce4-mouse-settings", {}}},
      {"X-Cinnamon", {"cinnamon-settings", {"mouse"}}},
      {"MATE", {"mate-mouse-properties", {}}},
      {"LXQt", {"lxqt-config-input", {}}},
  };
  return panels;
}

bool SameDesktop(const char* known, const std::string& family) { return DesktopFamily(known) == family; }

}  // namespace

std::vector<PanelCommand> MousePanelCandidates(std::string_view xdg_current_desktop) {
  std::vector<PanelCommand> result;
  auto add = [&result](const PanelCommand& command) {
    if (std::find(result.begin(), result.end(), command) == result.end()) result.push_back(command);
  };
  for (const std::string& family : DesktopFamilies(xdg_current_desktop)) {
    for (const KnownPanel& panel : KnownPanels())
      if (SameDesktop(panel.desktop, family)) add(panel.command);
  }
  for (const KnownPanel& panel : KnownPanels()) add(panel.command);
  return result;
}

bool OpenMouseSettingsPanel(ProcessLauncher& launcher, std::string_view xdg_current_desktop) {
  for (const PanelCommand& command : MousePanelCandidates(xdg_current_desktop)) {
    if (launcher.IsInstalled(command.program)) return launcher.StartDetached(command);
  }
  return false;
}

bool OpenMouseSettingsPanel(ProcessLauncher& launcher) {
  const char* desktop = std::getenv("XDG_CURRENT_DESKTOP");
  return OpenMouseSettingsPanel(launcher, desktop ? desktop : "");
}

bool SystemProcessLauncher::IsInstalled(const std::string& program) {
  return !QStandardPaths::findExecutable(QString::fromStdString(program)).isEmpty();
}

bool SystemProcessLauncher::StartDetached(const PanelCommand& command) {
  QStringList arguments;
  for (const std::string& argument : command.arguments) arguments << QString::fromStdString(argument);
  return QProcess::startDetached(QString::fromStdString(command.program), arguments);
}

}  // namespace tk410
