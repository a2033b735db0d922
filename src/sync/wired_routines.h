#pragma once
// The wired family's device routines, run by the sync worker for the main
// window: they build WiredFrames from the current profile's settings, exchange
// them through the device manager, store what the mouse reports and refresh
// the affected controls.

#include <cstdint>

namespace tk410 {

class DeviceMainDlg;

class WiredRoutines {
 public:
  explicit WiredRoutines(DeviceMainDlg& window) : window_(window) {}

  // Battery, key tables of profile indexes 0..5, settings of the current profile.
  bool ReadAll();
  void WriteSettings();      // 0x0F settings block
  void WriteDpiStage();      // 0x22 active stage and its DPI
  void WriteReportRate();    // 0x23
  void WriteLightMode();     // 0x21
  // After a factory reset: pages, defaults, downloads, battery.
  void RestoreSequence();
  void FirmwareVersionLabel();  // 0x03
  void VersionLabels();         // version feature report

  void KeyRead(int profile_index);  // 0x08 for one profile index 0..5
  void KeyDownload();               // 0x09 for profiles 1..5
  void DefaultKeyWrite();           // 0x09 with the default codes of slots 0..7
  void MacroDownload();             // 0x0D chunks and 0x10

  // The idle status poll (at most one read every 200 ms).
  void StatusPoll();

 private:
  DeviceMainDlg& window_;
};

}  // namespace tk410
