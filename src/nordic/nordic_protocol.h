#pragma once
// The Nordic family's operations, run by the sync worker for device types
// above 200: the command set (nordic_commands.cpp), the key and macro
// downloads (nordic_download.cpp) and the status reports and connection
// sequences (nordic_status.cpp). They talk to the device through the
// window's device manager, keep their state in the window's NordicState and
// store into the settings of the window's current profile.
//
// Every request that expects a reply code is sent at most twice; after the
// second failure the operation goes on. The operations that talk to the
// device return whether it answered every request they sent (with the
// expected code where one is expected), for the worker to report.

#include <array>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "device/nordic_layout.h"
#include "nordic/nordic_state.h"

namespace tk410 {

class DeviceMainDlg;

// What a macro download did.
struct NordicMacroResult {
  int given = 0;      // macros with steps that buttons of the profile use
  int sent = 0;       // macro images sent
  int truncated = 0;  // of them, cut at the 1024-byte limit
  // The macro_id of each one that did not reach the mouse whole: cut at the
  // limit, or not sent because its slot lies past the mouse's 32.
  std::vector<int> not_whole;
  bool answered = true;  // the device acknowledged every chunk
};

class NordicProtocol {
 public:
  // The fixed waits.
  static constexpr uint32_t kRetryWaitMs = 100;
  static constexpr uint32_t kRestoreWaitMs = 1000;
  static constexpr uint32_t kFactoryResetWaitMs = 1500;
  static constexpr uint32_t kDownloadCommitWaitMs = 200;
  static constexpr uint32_t kSettingsWriteWaitMs = 2;
  static constexpr uint64_t kPollIntervalMs = 200;
  static constexpr uint32_t kArrivalWaitMs = 1000;

  explicit NordicProtocol(DeviceMainDlg& window);

  // ---- command set
  // Reads link, status, key table and settings into the current profile.
  // False only when a receiver reports no linked mouse; `answered` (when
  // given) tells whether every request got its reply.
  bool ReadNordicAll(bool* answered = nullptr);
  // The first step of ReadNordicAll alone: target and link state from the
  // receiver's link query, nothing read or stored. False when a receiver
  // reports no linked mouse.
  bool QueryNordicLink();
  bool WriteNordicSettings();
  bool WriteNordicReportRate();
  bool SelectNordicProfile();
  bool DownloadNordicProfile();
  bool RestoreNordicDefaults();
  bool RestoreNordicButton();
  bool FactoryResetNordic();
  bool CommitNordic();

  // ---- downloads
  NordicMacroResult DownloadNordicMacros();
  bool DownloadNordicKeys();
  // Stores the row a slot code stands for (current profile, layer 0).
  void DecodeNordicKey(int slot, const uint8_t* code);

  // ---- status reports and connection sequences
  void PollNordicStatus(bool force);
  void ShowNordicVersions();
  void NordicFirstSync();
  void NordicArrivalSync();
  void NordicResync();

 private:
  enum class Retry { kAfterWait, kAtOnce };

  NordicFrame Request(uint8_t command, uint8_t code, uint8_t sub,
                      std::initializer_list<uint8_t> data = {}) const;
  // Sends `request`; when no reply with `expected` in byte 2 came, sends it
  // once more (after 100 ms or at once). `reply` gets the last reply (or the
  // request when nothing came). True when the expected code came.
  bool Send(const NordicFrame& request, uint8_t expected, Retry retry, NordicFrame* reply = nullptr);
  // Sends `request` once; its reply is not looked at. True when one came.
  bool SendOnce(const NordicFrame& request);

  bool IsReceiverMode() const;
  int ConfigInt(const wchar_t* key) const;
  void StoreConfig(const wchar_t* key, int value) const;
  // Connection label, tab control and connected flag for a link state.
  void ShowLink(bool linked);
  void ApplyStatus(const NordicStatusBlock& status);
  // One report as the status poll handles it (65 bytes, zero-padded).
  void HandleNordicReport(const std::array<uint8_t, NordicFrame::kReportSize>& report);
  void StoreSettings(const NordicFrame& block);
  // The mouse reports `profile` (1-based) as its active one: it becomes the
  // current profile and, when the database has it, the active profile the
  // profile list shows.
  void FollowMouseProfile(int profile);
  // Function lists, buttons page (selected button 0), macro page,
  // performance page.
  void RefreshPages();
  // Steps 2 and 3 of the first sync: read everything, refresh, versions.
  bool ReadAndShow(int mode);

  DeviceMainDlg& window_;
  NordicState& state_;
};

}  // namespace tk410
