// devices, status, read, write, restore: each opens the HID side, scans as
// the window does and runs only the routines the command names, on this
// thread. read, write and restore fail when the task says the mouse left a
// request unanswered; status reads that from the frame trace's exchange
// counts.

#include "ctl/commands.h"

#include <cstdio>

#include "assign/function_text.h"
#include "base/text.h"
#include "ctl/ctl_session.h"
#include "ctl/json_text.h"
#include "ctl/terminal_text.h"
#include "nordic/nordic_protocol.h"
#include "device/device_manager.h"
#include "device/product.h"
#include "device/udev_rules.h"
#include "plkui/controls.h"
#include "store/config_database.h"
#include "sync/sync_task.h"
#include "sync/wired_routines.h"
#include "ui/device_main_dlg.h"

namespace tk410::ctl_tool {

namespace {

void Print(const std::string& line) { std::printf("%s\n", line.c_str()); }

const char* ModeName(int mode) {
  switch (mode) {
    case kModeDirect: return "wired";
    case kModeReceiver:
    case kModeReceiver2: return "receiver";
    case kModeBluetooth: return "bluetooth";
    default: return "none";
  }
}

// The controls the device routines report into, so the tool can read what
// they showed: connection text, battery, version lines.
void AddReportControls(DeviceMainDlg& window) {
  const PLKUI::MRect none{};
  window.CreateControl(L"CDeviceState", ctl::kDeviceState, none, L"");
  // Level -1 until a routine reports the battery.
  if (auto* battery = dynamic_cast<PLKUI::BatteryCtrl*>(window.CreateControl(L"BatteryCtrl", ctl::kBattery, none, L""))) {
    battery->SetBatteryInfo(-1, 0);
  }
  for (int id : {ctl::kVersionLabelA, ctl::kVersionLabelB, ctl::kVersionLabelC}) {
    window.CreateControl(L"MText", id, none, L"");
  }
}

std::wstring ControlText(const DeviceMainDlg& window, int id) {
  auto* control = window.Control<PLKUI::MControlFont>(id);
  return control ? control->GetTitle() : std::wstring();
}

// The scan of the window's start-up: the supported list from the catalogue,
// a fresh device list, the connection state and its text.
void Scan(DeviceMainDlg& window) {
  DeviceManager& devices = window.Devices();
  const int type = devices.CurrentDeviceType() > 0 ? devices.CurrentDeviceType() : kProductDeviceType;
  const auto records = window.catalog.SupportedRecords(type);
  {
    std::lock_guard<std::mutex> lock(window.active_types_mutex);
    window.active_types = records;
  }
  devices.ClearSupported();
  for (const CatalogEntry& e : records) {
    devices.AddSupported(static_cast<uint32_t>(e.vid), static_cast<uint32_t>(e.pid), L"", e.device_type, e.mode);
  }
  devices.ClearActiveHandle();
  devices.CloseAll();
  devices.EnumerateDevice();
  devices.SetOpened(true);
  std::vector<const DeviceInfo*> found;
  devices.DevicesOfCurrentType(&found);
  window.current_device_type.store(type);
  window.online.store(!found.empty());
  const int mode = found.empty() ? -1 : devices.ActiveMode();
  window.connected.store(mode >= 0);
  int text_id = 50;
  if (!found.empty()) {
    text_id = mode == kModeDirect ? 51 : mode == kModeBluetooth ? 54 : mode < 0 ? 53 : 52;
  }
  window.SetConnectionText(text_id);
}

// Opens the HID side and scans; fails when no usable mouse is there.
Outcome Connect(Session& session, bool need_connection) {
  Outcome opened = session.OpenDevices();
  if (!opened.ok()) return opened;
  DeviceMainDlg& window = session.Window();
  AddReportControls(window);
  Scan(window);
  if (window.online.load()) {
    if (need_connection && !window.connected.load()) {
      return Outcome::Fail(kExitNoDevice, "the receiver is attached but the mouse is not linked");
    }
    return Outcome::Ok();
  }
  const auto denied = window.Devices().PermissionDeniedPaths();
  if (!denied.empty()) {
    return Outcome::Fail(kExitPermission, "permission denied on " + denied.front() +
                                              "; allow access with: " + kUdevFix);
  }
  return Outcome::Fail(kExitNoDevice, "no TEVO TK410 attached");
}

// After the routines: did the mouse take part?
Outcome CheckAnswered(Session& session, const char* what) {
  const FrameTraceLog& trace = session.Trace();
  if (trace.Requests() == 0) {
    return Outcome::Fail(kExitNoDevice, std::string(what) + ": no frame reached the mouse");
  }
  if (trace.Unanswered() > 0) {
    return Outcome::Fail(kExitNoDevice, std::string(what) + ": the mouse did not answer " +
                                            std::to_string(trace.Unanswered()) + " request(s)");
  }
  return Outcome::Ok();
}

// Runs a task as the worker would; fails when the mouse left a request of
// it unanswered (`unanswered` says what that left undone).
Outcome RunDeviceTask(Session& session, int task, const char* what, const char* unanswered) {
  const bool answered = session.Window().RunTask(task);
  if (session.Trace().Requests() == 0) {
    return Outcome::Fail(kExitNoDevice, std::string(what) + ": no frame reached the mouse");
  }
  if (!answered) {
    return Outcome::Fail(kExitNoDevice, std::string(what) + ": the mouse stopped answering; " + unanswered);
  }
  return Outcome::Ok();
}

// After a write: the macros that did not fit into the mouse whole (what the
// window's written notice tells), named by id and name.
Outcome CheckMacrosWritten(Session& session) {
  const std::vector<int> left = session.Window().macros_not_written.Get();
  if (left.empty()) return Outcome::Ok();
  std::string names;
  for (int id : left) {
    MacroRecord macro;
    session.Db().GetMacro(id, macro);
    names += (names.empty() ? "" : ", ") + std::to_string(id) + " " +
             TerminalText(TranslateMacroName(macro.name, session.Texts()));
  }
  return Outcome::Fail(kExitData, "write: macros that did not fit into the mouse were not written whole: " + names);
}

// The Nordic family: the receiver's link query sets the request target; a
// receiver without a linked mouse ends the command.
Outcome NordicLink(Session& session) {
  DeviceMainDlg& window = session.Window();
  if (!window.IsNordicFamily() || NordicProtocol(window).QueryNordicLink()) return Outcome::Ok();
  return Outcome::Fail(kExitNoDevice, "the receiver is attached but the mouse is not linked");
}

Outcome NoArguments(const char* command, const Args& args) {
  if (args.empty()) return Outcome::Ok();
  return Outcome::Fail(kExitUsage, std::string(command) + " takes no arguments");
}

}  // namespace

Outcome DevicesCommand(Session& session, const Args& args) {
  if (Outcome usage = NoArguments("devices", args); !usage.ok()) return usage;
  Outcome connected = Connect(session, false);
  if (connected.code == kExitPermission || connected.code == kExitData) return connected;

  std::vector<const DeviceInfo*> found;
  session.Devices().DevicesOfCurrentType(&found);
  std::string json = "[";
  for (const DeviceInfo* d : found) {
    char ids[16];
    std::snprintf(ids, sizeof(ids), "%04x:%04x", d->vendor_id, d->product_id);
    if (session.Options().json) {
      if (json.size() > 1) json += ",";
      json += "{\"index\":" + std::to_string(d->index) + ",\"id\":" + JsonString(std::string(ids)) +
              ",\"mode\":" + JsonString(std::string(ModeName(d->dev_mode))) +
              ",\"online\":" + (d->online ? "true" : "false") + ",\"path\":" + JsonString(d->path) + "}";
    } else {
      Print(std::to_string(d->index) + " " + ids + " " + ModeName(d->dev_mode) + " " +
            (d->online ? "online" : "offline") + " " + TerminalText(d->path));
    }
  }
  if (session.Options().json) Print(json + "]");
  return found.empty() ? connected : Outcome::Ok();
}

Outcome StatusCommand(Session& session, const Args& args) {
  if (Outcome usage = NoArguments("status", args); !usage.ok()) return usage;
  Outcome connected = Connect(session, false);
  DeviceMainDlg& window = session.Window();
  if (connected.ok() && window.connected.load()) {
    if (window.IsNordicFamily()) {
      NordicProtocol nordic(window);
      nordic.QueryNordicLink();
      nordic.ShowNordicVersions();
    } else {
      WiredRoutines routines(window);
      routines.VersionLabels();
      routines.FirmwareVersionLabel();
    }
  }
  const std::wstring text = ControlText(window, ctl::kDeviceState);
  const int mode = window.online.load() ? session.Devices().ActiveMode() : -1;
  auto* battery = window.Control<PLKUI::BatteryCtrl>(ctl::kBattery);
  if (battery && battery->GetBatteryLevel() < 0) battery = nullptr;
  std::vector<std::wstring> versions;
  for (int id : {ctl::kVersionLabelA, ctl::kVersionLabelB, ctl::kVersionLabelC}) {
    const std::wstring v = ControlText(window, id);
    if (!v.empty()) versions.push_back(v);
  }
  if (session.Options().json) {
    std::string out = "{\"connection\":" + JsonString(text) + ",\"mode\":" + JsonString(std::string(ModeName(mode))) +
                      ",\"battery\":" + (battery ? std::to_string(battery->GetBatteryLevel()) : std::string("null")) +
                      ",\"battery_state\":" + std::to_string(battery ? battery->GetBatteryState() : 0) +
                      ",\"versions\":[";
    for (size_t i = 0; i < versions.size(); ++i) out += (i ? "," : "") + JsonString(versions[i]);
    Print(out + "]}");
  } else {
    Print("connection: " + TerminalText(text));
    Print(std::string("mode: ") + ModeName(mode));
    if (battery) {
      Print("battery: " + std::to_string(battery->GetBatteryLevel()) + "% state " +
            std::to_string(battery->GetBatteryState()));
    }
    for (const auto& v : versions) Print("version: " + TerminalText(v));
  }
  if (connected.code == kExitPermission || connected.code == kExitData) return connected;
  return connected.ok() ? CheckAnswered(session, "status") : connected;
}

Outcome ReadCommand(Session& session, const Args& args) {
  if (Outcome usage = NoArguments("read", args); !usage.ok()) return usage;
  if (Outcome connected = Connect(session, true); !connected.ok()) return connected;
  if (Outcome answered =
          RunDeviceTask(session, kTaskReadAll, "read", "not everything was read");
      !answered.ok())
    return answered;
  Print("read the mouse into profile " + std::to_string(session.CurrentProfile()));
  return Outcome::Ok();
}

Outcome WriteCommand(Session& session, const Args& args) {
  if (Outcome usage = NoArguments("write", args); !usage.ok()) return usage;
  if (Outcome connected = Connect(session, true); !connected.ok()) return connected;
  // The Nordic write takes the target and the link from the receiver's link
  // query alone: reading the mouse into the database first would overwrite
  // the assignments about to be written.
  if (Outcome linked = NordicLink(session); !linked.ok()) return linked;
  if (Outcome answered = RunDeviceTask(session, kTaskWriteAll, "write", "the profile was not written whole");
      !answered.ok())
    return answered;
  if (Outcome fitted = CheckMacrosWritten(session); !fitted.ok()) return fitted;
  Print("wrote profile " + std::to_string(session.CurrentProfile()) + " to the mouse");
  return Outcome::Ok();
}

Outcome RestoreCommand(Session& session, const Args& args) {
  if (Outcome usage = NoArguments("restore", args); !usage.ok()) return usage;
  if (Outcome connected = Connect(session, true); !connected.ok()) return connected;
  DeviceMainDlg& window = session.Window();
  ConfigDatabase& db = session.Db();
  const int profile = session.CurrentProfile();
  // The restore-defaults command of the buttons page: every button back to its
  // own function, the settings to their defaults, the report rate by how the
  // mouse is connected; then task 15 writes them.
  window.selected_button.store(0);
  db.DeleteProfileKeys(profile);
  db.ResetConfigDefaults(profile);
  db.SetConfigValue(profile, L"report_rate", session.Devices().ActiveMode() == kModeDirect ? L"4" : L"2");
  window.reset_selector.store(1);
  if (Outcome linked = NordicLink(session); !linked.ok()) return linked;
  if (Outcome answered =
          RunDeviceTask(session, kTaskRestoreProfile, "restore", "the defaults were not written whole");
      !answered.ok())
    return answered;
  Print("restored the defaults of profile " + std::to_string(profile) + " and wrote them to the mouse");
  return Outcome::Ok();
}

Outcome UdevRulesCommand(const Args& args) {
  if (Outcome usage = NoArguments("udev-rules", args); !usage.ok()) return usage;
  DeviceCatalog catalog;
  if (!catalog.Load(DeviceCatalog::ShippedPath()) || catalog.Modes().empty()) {
    return Outcome::Fail(kExitData, "cannot read the device catalogue " + ToUtf8(DeviceCatalog::ShippedPath()));
  }
  std::fputs(BuildUdevRules(catalog.Modes()).c_str(), stdout);
  return Outcome::Ok();
}

}  // namespace tk410::ctl_tool
