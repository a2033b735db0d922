#pragma once
// DeviceManager: knows the attached interfaces of the product, chooses the
// active one and exchanges frames with it.
//
// Threads and locking. Scans (EnumerateDevice, CloseAll) and every frame
// exchange run on the sync worker only (and once on the window thread at
// start-up, before the worker starts), so they never overlap one another.
// The window thread reads the lists at any time (FindDevice, ActiveMode,
// IsSupported ...). One mutex, `lists_mutex_`, guards the device list, the
// supported list and the active-record cache (and the `online` flags): a
// scan builds its new list without the lock, opening devices as it goes, and
// swaps it in under the lock; CloseAll swaps the list out under the lock and
// closes the handles after releasing it. Exchanges take the lock only to
// look up the active handle and do their I/O without it, so a window-thread
// query never waits for a 1000 ms read. A handle found that way stays valid
// until the next scan, which runs on the same (worker) thread.
//
// All waits go through the Clock given at construction.

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "base/clock.h"
#include "base/wake_signal.h"
#include "device/device_info.h"
#include "device/frame_trace.h"
#include "device/hid_backend.h"
#include "device/nordic_frame.h"
#include "device/wired_frame.h"

namespace tk410 {

// The family whose framing an exchange uses.
enum class ReportFamily { kWired, kNordic };

// Receives the status reports an exchange meets on the interface: queued
// before its request (the DPI button was pressed while the program idled)
// or arriving while it waits for its reply. The wired status report
// (0xAA 0xFA) and the Nordic status (code 0x8C); `length` bytes as read.
// Called on the thread that exchanges.
using StatusReportSink = std::function<void(ReportFamily family, const uint8_t* report, size_t length)>;

class DeviceManager {
 public:
  // Wired family: device types up to 200; the Nordic family above.
  static constexpr int32_t kLastWiredType = 200;

  // Usage page and usage of the two families' vendor collections.
  static constexpr uint16_t kWiredUsagePage = 0xFF01;
  static constexpr uint16_t kWiredUsage = 0x10;
  static constexpr uint16_t kNordicUsagePage = 0xFF0A;
  static constexpr uint16_t kNordicUsage = 0x01;

  // The process-wide object over hidapi and the system clock, created on
  // first use.
  static DeviceManager& Instance();

  DeviceManager(std::shared_ptr<HidBackend> backend, Clock& clock);
  ~DeviceManager();
  DeviceManager(const DeviceManager&) = delete;
  DeviceManager& operator=(const DeviceManager&) = delete;

  // Replaces the HID backend (the virtual bus of --simulate). Closes every
  // handle first; call it while no exchange runs.
  void SetBackend(std::shared_ptr<HidBackend> backend);

  // ---- supported list
  void ClearSupported();
  void AddSupported(uint32_t vendor_id, uint32_t product_id, const std::wstring& name,
                    int32_t dev_type, int32_t dev_mode);
  bool IsSupported(uint32_t vendor_id, uint32_t product_id) const;
  int32_t TypeOf(uint32_t vendor_id, uint32_t product_id) const;
  int32_t ModeOf(uint32_t vendor_id, uint32_t product_id) const;

  // ---- scan
  // If opened: clears it, closes every handle and empties the device list.
  void CloseAll();
  // Rebuilds the device list from the attached collections.
  void EnumerateDevice();
  void SetOpened(bool opened) { opened_ = opened ? 1 : 0; }
  bool IsOpened() const { return opened_ != 0; }
  // Paths of supported collections the last EnumerateDevice could not open
  // because the user lacks permission (EACCES): the caller can explain how
  // to grant access instead of reporting "no device".
  std::vector<std::string> PermissionDeniedPaths() const;

  // ---- queries
  // Records of the current type (all records when the type is 0). False
  // when the device list is empty. The pointers stay valid until the next
  // scan; use them on the worker thread only.
  bool DevicesOfCurrentType(std::vector<const DeviceInfo*>* out) const;
  // 0, 1, 2, 3 for the active-device choice, -1 when there is none.
  int ActiveMode() const;
  // The handle of the active-device choice (cached), or nullptr.
  HidDevice* ActiveHandle();
  void ClearActiveHandle();
  // Index in the device list of the first record with these ids and mode, or -1.
  int FindDevice(uint32_t vendor_id, uint32_t product_id, int32_t mode) const;
  size_t DeviceCount() const;

  void SetCurrentDeviceType(int32_t type) { current_type_ = type; }
  int32_t CurrentDeviceType() const { return current_type_; }

  // ---- I/O
  // Every exchange first takes what is already queued on the interface
  // (without waiting): status reports go to the status sink, anything else
  // (a reply that came after its exchange gave up, a reply sent twice) is
  // dropped and traced. It then takes only the reply that matches its
  // request (WiredReplyRule, nordic::IsReplyTo); other reports met while it
  // waits are handled the same way and the wait goes on for what is left of
  // the read's time-out.
  //
  // Adds the check byte, writes, and waits for the reply, with two retries.
  // The reply replaces the payload; without one the payload is kept.
  bool ExchangeWired(WiredFrame& frame);
  // Reads the version feature report. `text` becomes "0.0.0", then the
  // device's text if one was read. False when no I/O was possible.
  bool ReadVersionFeature(std::wstring* text, int selector);
  // Nordic framing on the active handle (needs opened), or on a given
  // handle of the device list (the scan's link probe, which runs before
  // opened is set again, so this one does not look at opened).
  bool ExchangeNordic(NordicFrame& frame);
  bool ExchangeNordicOn(HidDevice* device, NordicFrame& frame);
  // The Nordic version query (selector 1: the mouse behind a receiver, else
  // the attached device). `text` becomes "0.0.0", then the reply's dotted
  // version (and a second line when the reply carries one). Defined in
  // nordic_version.cpp.
  void ReadNordicVersion(std::wstring* text, int selector);
  // Asks a receiver whether its mouse is linked; returns the new `online`.
  int32_t ProbeReceiverLink(DeviceInfo& info);
  // Clears the cache and marks every receiver record of the current type offline.
  void MarkReceiversOffline();
  // One 10 ms read of an unsolicited report into a 65-byte buffer.
  bool PollReport(uint8_t* buffer);
  // One read of an input report from `device` (a handle of the device list),
  // skipping reports of the interface's other collections within the
  // time-out. Bytes read, 0 on time-out, -1 on error. Traced.
  int ReadReport(HidDevice* device, uint8_t* data, size_t length, int timeout_ms);

  // ---- waiting for a report (device/report_wait.cpp)
  enum class ReportWait {
    kReport,      // a report can be read now
    kWoken,       // `wake` was rung
    kTimedOut,    // the time-out passed
    kNoDevice,    // nothing to wait on: no handle the status poll would read
    kGone,        // the device went; its reads fail until the next scan
    kCannotWait,  // the device offers no descriptor: read to find out
  };
  // Worker thread. Waits until a report can be read from what the status
  // polls read (the active device's handle; for the Nordic family without an
  // active device, the handle of every receiver of the current type), until
  // `wake` is rung or until `timeout_ms` has passed (negative: no limit).
  // Reads nothing. Time goes through the clock.
  ReportWait WaitForReport(const WakeSignal& wake, int timeout_ms);

  // ---- frame trace
  void SetFrameTrace(FrameTraceSink sink);

  // ---- status reports met by exchanges
  // `owner` names who set the sink; ClearStatusReportSink clears it only for
  // the same owner (a window that goes leaves a newer window's sink alone).
  void SetStatusReportSink(const void* owner, StatusReportSink sink);
  void ClearStatusReportSink(const void* owner);

 private:
  using DeviceList = std::vector<std::unique_ptr<DeviceInfo>>;
  // A report the read is waiting for.
  using Wanted = std::function<bool(const uint8_t* report, int length)>;

  // First supported record with these ids; lists_mutex_ held.
  const SupportedDevice* FirstSupportedLocked(uint32_t vendor_id, uint32_t product_id) const;
  // The active-device choice; lists_mutex_ held.
  DeviceInfo* ChooseActiveLocked() const;
  // Active record's handle and its input report ids, looked up under the lock.
  HidDevice* ActiveHandleAndFilter(std::set<uint8_t>* own_ids);
  std::set<uint8_t> FilterOf(HidDevice* device) const;
  // The handles WaitForReport watches.
  std::vector<HidDevice*> WatchedHandles();

  int WriteTraced(HidDevice* device, const uint8_t* data, size_t length);
  // Reads until a report of the collection (`own_ids`) that `wanted` takes
  // arrives, or `timeout_ms` has passed. Reports of other collections are
  // skipped; reports of the collection that `wanted` refuses go to
  // PassOver. Without `wanted` the first report of the collection is taken.
  // Bytes read, 0 on time-out, -1 on error. Every read is traced.
  int ReadFiltered(HidDevice* device, const std::set<uint8_t>& own_ids, uint8_t* data, size_t length,
                   int timeout_ms, const Wanted& wanted = nullptr, ReportFamily family = ReportFamily::kWired);
  // Takes every report already queued on `device` without waiting; each goes
  // to PassOver. Reads that find nothing are not traced.
  void DrainQueued(HidDevice* device, const std::set<uint8_t>& own_ids, ReportFamily family);
  // A report that is no exchange's reply: a status report goes to the sink,
  // anything else is dropped with a trace line.
  void PassOver(ReportFamily family, const uint8_t* report, int length);
  void EmitTrace(const char* tag, const uint8_t* data, int count);
  bool IsBluetoothRecord(const HidCollectionInfo& entry) const;

  std::shared_ptr<HidBackend> backend_;
  Clock& clock_;

  mutable std::mutex lists_mutex_;
  DeviceList devices_;                       // guarded by lists_mutex_
  std::vector<SupportedDevice> supported_;   // guarded by lists_mutex_
  mutable DeviceInfo* active_ = nullptr;     // guarded by lists_mutex_
  std::vector<std::string> permission_denied_;  // guarded by lists_mutex_

  std::atomic<int32_t> opened_{0};
  std::atomic<int32_t> current_type_{0};

  std::mutex trace_mutex_;
  FrameTraceSink trace_;  // guarded by trace_mutex_

  std::mutex sink_mutex_;
  const void* sink_owner_ = nullptr;  // guarded by sink_mutex_
  StatusReportSink status_sink_;      // guarded by sink_mutex_
};

}  // namespace tk410
