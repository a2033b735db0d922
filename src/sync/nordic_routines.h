#pragma once
// The Nordic family's routines as the sync worker calls them (device types
// above 200). Each forwards to NordicProtocol (src/nordic), which does the
// work; the worker's dispatch, pauses and "close wait" live in worker.cpp.

#include "nordic/nordic_protocol.h"

namespace tk410 {

class DeviceMainDlg;

class NordicRoutines {
 public:
  explicit NordicRoutines(DeviceMainDlg& window) : protocol_(window) {}

  // Connection sequence after an arrival (NordicArrivalSync), or with a
  // scan for Resync (NordicResync).
  void ConnectionSequence(bool with_scan);
  // Initial connection sequence (NordicFirstSync); sets initial read done itself.
  void InitialConnection();
  // The operations below return whether the device answered every request.
  // The read button: ReadNordicAll.
  bool ReadAll();
  bool SelectNordicProfile();
  bool CommitNordic();
  NordicMacroResult MacroDownload();
  bool KeyDownload();
  bool RestoreNordicButton();
  bool WriteNordicSettings();
  bool WriteNordicReportRate();
  bool RestoreNordicDefaults();
  bool FactoryResetNordic();
  bool DownloadNordicProfile();
  // The idle status poll.
  void StatusPoll();

  NordicProtocol& Protocol() { return protocol_; }

 private:
  NordicProtocol protocol_;
};

}  // namespace tk410
