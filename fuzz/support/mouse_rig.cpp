#include "support/mouse_rig.h"

#include <filesystem>

#include "base/text.h"
#include "nordic/nordic_protocol.h"
#include "sim/virtual_hid_bus.h"
#include "sim/virtual_nordic_device.h"
#include "sim/virtual_wired_mouse.h"
#include "support/scratch.h"
#include "sync/wired_routines.h"
#include "ui/device_main_dlg.h"

namespace tk410::fuzz {

namespace {
constexpr int kWiredType = 101;
constexpr int kNordicType = 201;
}  // namespace

MouseRig::MouseRig(Family family)
    : family_(family), bus_(std::make_shared<VirtualHidBus>(clock_)), devices_(bus_, clock_) {
  const bool wired = family == Family::kWired;
  if (wired) {
    bus_->Attach(std::make_shared<VirtualWiredMouse>());
  } else {
    bus_->Attach(std::make_shared<VirtualNordicDevice>(VirtualNordicDevice::Direct()));
  }
  devices_.SetCurrentDeviceType(DeviceType());
  devices_.AddSupported(0x1209, wired ? 0x0001 : 0x0003, L"", DeviceType(), 0);
  devices_.EnumerateDevice();
  devices_.SetOpened(true);

  const std::string dir = ScratchDir() + (wired ? "wired/" : "nordic/");
  std::filesystem::create_directories(dir + "db");
  db_.OpenForDevice(FromUtf8(dir), wired ? L"TK410" : L"TK410N");
  db_.SetDeviceType(DeviceType());
  DeviceMainServices services;
  services.db = &db_;
  services.devices = &devices_;
  services.clock = &clock_;
  services.injector = &injector_;
  window_ = std::make_unique<DeviceMainDlg>(services);
  window_->current_device_type.store(DeviceType());
  window_->online.store(true);
  window_->RefreshProfileList();
}

MouseRig::~MouseRig() = default;

int MouseRig::DeviceType() const { return family_ == Family::kWired ? kWiredType : kNordicType; }

void MouseRig::Reset() {
  db_.ResetConfigDefaults(1);
  db_.DeleteProfileKeys(1);
  RecordList<MacroRecord> macros;
  db_.LoadMacros(macros);
  for (const auto& m : macros) {
    db_.DeleteMacroEvents(m->macro_id);
    db_.DeleteMacro(m->macro_id);
  }
  window_->current_profile.store(1);
  clock_.ClearSleeps();
}

void MouseRig::WriteToMouse(bool macros) {
  if (family_ == Family::kWired) {
    WiredRoutines routines(*window_);
    routines.WriteSettings();
    routines.WriteDpiStage();
    routines.WriteReportRate();
    routines.WriteLightMode();
    routines.KeyDownload();
    if (macros) routines.MacroDownload();
  } else {
    NordicProtocol protocol(*window_);
    protocol.WriteNordicSettings();
    protocol.DownloadNordicKeys();
    if (macros) protocol.DownloadNordicMacros();
  }
  clock_.ClearSleeps();
}

MouseRig& RigForInput(size_t size) {
  static MouseRig wired(Family::kWired);
  static MouseRig nordic(Family::kNordic);
  MouseRig& rig = size % 2 == 0 ? wired : nordic;
  rig.Reset();
  return rig;
}

}  // namespace tk410::fuzz
