#pragma once
// Everything one tk410ctl command works with, built from the global options:
// the language texts, the data directory and its settings database, the
// device manager (hidapi, or the virtual bus with a virtual mouse whose
// firmware state lives in --sim-state), the frame trace, and the main window
// model without a display, whose routines the device commands call. Nothing
// starts the window's worker: each command runs the routines it names on
// this thread.
#include <memory>
#include <string>

#include "app/language_files.h"
#include "base/clock.h"
#include "ctl/ctl_options.h"
#include "ctl/ctl_result.h"
#include "ctl/frame_trace_log.h"

namespace tk410 {
class ConfigDatabase;
class DeviceManager;
class DeviceMainDlg;
class VirtualHidBus;
class VirtualWiredMouse;
class VirtualNordicDevice;
}  // namespace tk410

namespace tk410::ctl_tool {

class Session {
 public:
  explicit Session(const CtlOptions& options);
  ~Session();
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  // Data directory, database and window model. Every command needs it.
  Outcome OpenStore();
  // The HID side: the virtual mouse and its state file, the frame trace.
  // Only device commands call it, so the others never touch HID.
  Outcome OpenDevices();
  // Saves the virtual mouse's state and flushes the trace.
  Outcome Close();

  const CtlOptions& Options() const { return options_; }
  const LanguageTexts& Texts() const { return texts_; }
  ConfigDatabase& Db() const { return *db_; }
  DeviceManager& Devices() const { return *devices_; }
  DeviceMainDlg& Window() const { return *window_; }
  FrameTraceLog& Trace() { return trace_; }
  std::wstring DataDirectory() const { return data_dir_; }
  // The device type the session serves: --device-type, or 201 (the
  // Nordic model) when simulating a Nordic device.
  int DeviceType() const;
  int CurrentProfile() const;
  // A stored name or function text as the window shows it: texts that are a
  // TextId written as digits (default profile names, function texts) read
  // in the language; anything else as it is.
  std::wstring DisplayText(const std::wstring& stored) const;

 private:
  CtlOptions options_;
  LanguageFileTexts texts_;
  std::wstring data_dir_;
  std::unique_ptr<ManualClock> sim_clock_;  // virtual time for the simulated mouse
  std::shared_ptr<VirtualHidBus> bus_;
  std::shared_ptr<VirtualWiredMouse> mouse_;
  std::shared_ptr<VirtualNordicDevice> nordic_;  // --simulate nordic|receiver
  std::unique_ptr<DeviceManager> sim_devices_;
  ConfigDatabase* db_ = nullptr;
  DeviceManager* devices_ = nullptr;
  std::unique_ptr<DeviceMainDlg> window_;
  FrameTraceLog trace_;
  bool devices_opened_ = false;
};

}  // namespace tk410::ctl_tool
