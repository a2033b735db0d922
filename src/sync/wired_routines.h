#pragma once
// The wired family's device routines, run by the sync worker for the main
// window: they build WiredFrames from the current profile's settings, exchange
// them through the device manager, store what the mouse reports and refresh
// the affected controls.
//
// Implemented in several files of this folder:
//   wired_commands.cpp  settings, single-value writes, read all, restore, versions
//   wired_download.cpp  key read, key download, default keys, macro download
//   wired_status.cpp    the idle status poll

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "device/wired_frame.h"
#include "sync/wired_macro_image.h"

namespace tk410 {

class DeviceMainDlg;

// What a macro download sent, for the window to show when it is not all.
struct MacroDownloadResult {
  WiredMacroImageStatus status = WiredMacroImageStatus::kComplete;
  int macros_given = 0;  // macros in the database
  int macros_sent = 0;   // macros in the image
  std::vector<int> left_out;  // macro_id of each macro not in the image
  size_t image_length = 0;
  bool answered = true;  // the mouse answered every chunk and the end command
  bool Complete() const { return status == WiredMacroImageStatus::kComplete; }
};

class WiredRoutines {
 public:
  explicit WiredRoutines(DeviceMainDlg& window) : window_(window) {}

  // Each routine that talks to the mouse returns whether the mouse answered
  // every request it sent (a reply that echoes the request); what a routine
  // stores comes only from such replies.

  // Battery, key tables of profile indexes 0..5, settings of the current
  // profile. A mouse that does not answer leaves the database as it was.
  bool ReadAll();
  bool WriteSettings();      // 0x0F settings block
  bool WriteDpiStage();      // 0x22 active stage and its DPI
  bool WriteReportRate();    // 0x23
  bool WriteLightMode();     // 0x21
  // After a factory reset: pages, defaults, downloads, battery.
  bool RestoreSequence();
  bool FirmwareVersionLabel();  // 0x03
  void VersionLabels();         // version feature report

  bool KeyRead(int profile_index);  // 0x08 for one profile index 0..5
  bool KeyDownload();               // 0x09 for profiles 1..5
  bool DefaultKeyWrite();           // 0x09 with the default codes of slots 0..7
  MacroDownloadResult MacroDownload();  // 0x0D chunks and 0x10

  // The idle status poll (at most one read every 200 ms).
  void StatusPoll();
  // Applies one status report (0xAA 0xFA ...) as the poll does: DPI stage
  // and report rate to the database and the page, lighting, battery, emoji.
  // Anything else is ignored.
  void ApplyStatusReport(const uint8_t* data, size_t length);

 private:
  // The current profile's value of `key` as a number (_wtoi rules).
  int ConfigInt(const wchar_t* key) const;
  // dpi_index of the current profile, 0 when it names no stage.
  int StageIndex() const;
  void StoreConfig(const wchar_t* key, int value) const;
  // Current profile number minus 1, as offset 7 carries it.
  uint8_t ProfileIndex() const;
  // A request of this family for the current profile.
  WiredFrame Request(uint8_t command, uint8_t offset2, uint8_t length) const;
  // The exchange; true when the mouse's reply to `frame` replaced it.
  bool Exchange(WiredFrame& frame) const;
  bool ReadBattery();

  DeviceMainDlg& window_;
};

}  // namespace tk410
