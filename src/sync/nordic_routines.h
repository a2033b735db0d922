#pragma once
// The Nordic family's routines as the sync worker calls them (device types
// above 200). PLACEHOLDER: the bodies in nordic_routines.cpp do nothing
// until the Nordic family work replaces that file; the worker's dispatch,
// pauses and "close wait" around these calls are final.

namespace tk410 {

class DeviceMainDlg;

class NordicRoutines {
 public:
  explicit NordicRoutines(DeviceMainDlg& window) : window_(window) {}

  // Connection sequence after an arrival (and with a scan for Resync).
  void ConnectionSequence(bool with_scan);
  // Initial connection sequence; sets initial read done itself.
  void InitialConnection();
  void SelectNordicProfile();
  void CommitNordic();
  void MacroDownload();
  void KeyDownload();
  void RestoreNordicButton();
  void WriteNordicSettings();
  void WriteNordicReportRate();
  void RestoreNordicDefaults();
  void FactoryResetNordic();
  void DownloadNordicProfile();
  // The idle status poll.
  void StatusPoll();

 private:
  [[maybe_unused]] DeviceMainDlg& window_;
};

}  // namespace tk410
