#include "device/device_manager.h"

#include <algorithm>
#include <cstring>

#include "base/text.h"
#include "base/trace.h"
#include "device/hidapi_backend.h"
#include "device/nordic_layout.h"
#include "device/wired_layout.h"

namespace tk410 {

namespace {

constexpr int kWiredReadMs = 1000;
constexpr uint32_t kRewriteWaitMs = 10;
constexpr uint32_t kSecondAttemptWaitMs = 100;
constexpr uint32_t kThirdAttemptWaitMs = 1000;
constexpr int kNordicDrainMs = 100;
constexpr uint32_t kNordicReplyWaitMs = 16;
constexpr int kNordicReplyMs = 200;
constexpr uint32_t kNordicRetryWaitMs = 200;
constexpr int kNordicRetryMs = 100;
constexpr int kPollMs = 10;
constexpr int kFeatureAttempts = 10;
constexpr uint32_t kFeatureRetryWaitMs = 10;
constexpr uint32_t kProbeRetryWaitMs = 100;
constexpr size_t kReportBuffer = 65;
// Reports taken off an interface before a request at most: the kernel keeps
// 64 per open descriptor; one more covers a report arriving meanwhile.
constexpr int kMaxQueuedReports = 65;

// The Windows path of a Bluetooth HID-over-GATT keyboard-class interface.
constexpr const char* kBluetoothHidService = "00001812-0000-1000-8000-00805F9B34FB";
constexpr const char* kBluetoothKeyboardTag = "KBD";

bool IsReceiverMode(int32_t mode) { return mode == kModeReceiver || mode == kModeReceiver2; }

}  // namespace

DeviceManager& DeviceManager::Instance() {
  static DeviceManager instance(std::make_shared<HidapiBackend>(), SystemClockInstance());
  return instance;
}

DeviceManager::DeviceManager(std::shared_ptr<HidBackend> backend, Clock& clock)
    : backend_(std::move(backend)), clock_(clock) {}

DeviceManager::~DeviceManager() {
  // Close every handle before the backend (hid_exit) goes.
  DeviceList old;
  {
    std::lock_guard<std::mutex> lock(lists_mutex_);
    active_ = nullptr;
    old.swap(devices_);
  }
  old.clear();
}

void DeviceManager::SetBackend(std::shared_ptr<HidBackend> backend) {
  DeviceList old;
  {
    std::lock_guard<std::mutex> lock(lists_mutex_);
    active_ = nullptr;
    old.swap(devices_);
    opened_ = 0;
  }
  old.clear();
  backend_ = std::move(backend);
}

// ------------------------------------------------------------ supported list

void DeviceManager::ClearSupported() {
  std::lock_guard<std::mutex> lock(lists_mutex_);
  supported_.clear();
}

void DeviceManager::AddSupported(uint32_t vendor_id, uint32_t product_id,
                                 const std::wstring& name, int32_t dev_type, int32_t dev_mode) {
  std::lock_guard<std::mutex> lock(lists_mutex_);
  supported_.push_back(SupportedDevice{vendor_id, product_id, name, dev_type, dev_mode});
}

const SupportedDevice* DeviceManager::FirstSupportedLocked(uint32_t vendor_id,
                                                          uint32_t product_id) const {
  for (const auto& s : supported_) {
    if (s.vendor_id == vendor_id && s.product_id == product_id) return &s;
  }
  return nullptr;
}

bool DeviceManager::IsSupported(uint32_t vendor_id, uint32_t product_id) const {
  std::lock_guard<std::mutex> lock(lists_mutex_);
  return FirstSupportedLocked(vendor_id, product_id) != nullptr;
}

int32_t DeviceManager::TypeOf(uint32_t vendor_id, uint32_t product_id) const {
  std::lock_guard<std::mutex> lock(lists_mutex_);
  const SupportedDevice* s = FirstSupportedLocked(vendor_id, product_id);
  return s ? s->dev_type : 0;
}

int32_t DeviceManager::ModeOf(uint32_t vendor_id, uint32_t product_id) const {
  std::lock_guard<std::mutex> lock(lists_mutex_);
  const SupportedDevice* s = FirstSupportedLocked(vendor_id, product_id);
  return s ? s->dev_mode : 0;
}

// ---------------------------------------------------------------------- scan

void DeviceManager::CloseAll() {
  if (!opened_) return;
  DeviceList old;
  {
    std::lock_guard<std::mutex> lock(lists_mutex_);
    opened_ = 0;
    active_ = nullptr;
    old.swap(devices_);
  }
  old.clear();  // closes the handles outside the lock
}

// A Bluetooth connection of a supported mouse. On Windows its keyboard-class
// HID-over-GATT interface has a path containing the HID service UUID and
// "KBD". hidraw paths carry neither, so on Linux the same interface is
// recognised as a collection on the Bluetooth bus (kernel bus 0x05, hidapi's
// HID_API_BUS_BLUETOOTH) whose top-level usage is the keyboard (usage page
// 1, usage 6). Either rule makes the record.
bool DeviceManager::IsBluetoothRecord(const HidCollectionInfo& entry) const {
  const std::string upper = UpperAscii(std::string_view(entry.path));
  if (upper.find(kBluetoothHidService) != std::string::npos &&
      upper.find(kBluetoothKeyboardTag) != std::string::npos) {
    return true;
  }
  return entry.bus_type == kHidBusBluetooth && entry.usage_page == 0x01 && entry.usage == 0x06;
}

void DeviceManager::EnumerateDevice() {
  Trace(kTraceDebug, "EnumerateDevice!");
  DeviceList found;
  std::vector<std::string> denied;
  const std::vector<HidCollectionInfo> entries = backend_->Enumerate();

  auto make_record = [&](const HidCollectionInfo& e) {
    auto info = std::make_unique<DeviceInfo>();
    info->index = static_cast<int32_t>(found.size());
    info->vendor_id = e.vendor_id;
    info->product_id = e.product_id;
    info->path = e.path.substr(0, DeviceInfo::kMaxPath);
    info->release_number = e.release_number;
    info->dev_type = TypeOf(e.vendor_id, e.product_id);
    info->online = 1;
    info->input_report_ids = e.input_report_ids;
    return info;
  };

  for (const HidCollectionInfo& e : entries) {
    if (!IsSupported(e.vendor_id, e.product_id)) continue;
    if (IsBluetoothRecord(e)) {
      auto info = make_record(e);
      info->dev_mode = kModeBluetooth;
      found.push_back(std::move(info));
    }
    HidOpenResult opened = backend_->Open(e.path);
    if (!opened.ok()) {
      if (opened.PermissionDenied() &&
          std::find(denied.begin(), denied.end(), e.path) == denied.end()) {
        denied.push_back(e.path);
      }
      continue;
    }
    const bool wired = e.usage_page == kWiredUsagePage && e.usage == kWiredUsage;
    const bool nordic = e.usage_page == kNordicUsagePage && e.usage == kNordicUsage;
    if (!wired && !nordic) continue;  // the handle closes here
    auto info = make_record(e);
    info->product = opened.device->ProductString().substr(0, DeviceInfo::kMaxString);
    info->manufacturer = opened.device->ManufacturerString().substr(0, DeviceInfo::kMaxString);
    info->dev_mode = ModeOf(e.vendor_id, e.product_id);
    info->handle = std::move(opened.device);
    DeviceInfo& record = *info;
    found.push_back(std::move(info));
    if (nordic && record.dev_mode != kModeDirect) ProbeReceiverLink(record);
  }

  DeviceList old;
  {
    std::lock_guard<std::mutex> lock(lists_mutex_);
    active_ = nullptr;
    old.swap(devices_);
    devices_ = std::move(found);
    permission_denied_ = std::move(denied);
  }
}

std::vector<std::string> DeviceManager::PermissionDeniedPaths() const {
  std::lock_guard<std::mutex> lock(lists_mutex_);
  return permission_denied_;
}

// ------------------------------------------------------------------- queries

bool DeviceManager::DevicesOfCurrentType(std::vector<const DeviceInfo*>* out) const {
  out->clear();
  const int32_t type = current_type_;
  std::lock_guard<std::mutex> lock(lists_mutex_);
  if (devices_.empty()) return false;
  for (const auto& d : devices_) {
    if (type == 0 || d->dev_type == type) out->push_back(d.get());
  }
  return true;
}

DeviceInfo* DeviceManager::ChooseActiveLocked() const {
  const int32_t type = current_type_;
  auto first_of = [&](int32_t mode) -> DeviceInfo* {
    for (const auto& d : devices_) {
      if (d->dev_type == type && d->dev_mode == mode) return d.get();
    }
    return nullptr;
  };
  if (DeviceInfo* d = first_of(kModeDirect)) return d;
  if (DeviceInfo* d = first_of(kModeBluetooth)) return d;
  // Receiver modes: only the first record of the mode is looked at.
  if (DeviceInfo* d = first_of(kModeReceiver); d != nullptr && d->online == 1) return d;
  if (DeviceInfo* d = first_of(kModeReceiver2); d != nullptr && d->online == 1) return d;
  return nullptr;
}

int DeviceManager::ActiveMode() const {
  std::lock_guard<std::mutex> lock(lists_mutex_);
  const DeviceInfo* d = ChooseActiveLocked();
  return d ? d->dev_mode : -1;
}

HidDevice* DeviceManager::ActiveHandle() { return ActiveHandleAndFilter(nullptr); }

HidDevice* DeviceManager::ActiveHandleAndFilter(std::set<uint8_t>* own_ids) {
  std::lock_guard<std::mutex> lock(lists_mutex_);
  if (active_ == nullptr) {
    DeviceInfo* d = ChooseActiveLocked();
    // A Bluetooth record has no handle: nothing is cached for it.
    if (d != nullptr && d->handle != nullptr) active_ = d;
  }
  if (active_ == nullptr) return nullptr;
  if (own_ids) *own_ids = active_->input_report_ids;
  return active_->handle.get();
}

void DeviceManager::ClearActiveHandle() {
  std::lock_guard<std::mutex> lock(lists_mutex_);
  active_ = nullptr;
}

int DeviceManager::FindDevice(uint32_t vendor_id, uint32_t product_id, int32_t mode) const {
  std::lock_guard<std::mutex> lock(lists_mutex_);
  for (size_t i = 0; i < devices_.size(); ++i) {
    const DeviceInfo& d = *devices_[i];
    if (d.vendor_id == vendor_id && d.product_id == product_id && d.dev_mode == mode) {
      return static_cast<int>(i);
    }
  }
  return -1;
}

size_t DeviceManager::DeviceCount() const {
  std::lock_guard<std::mutex> lock(lists_mutex_);
  return devices_.size();
}

std::set<uint8_t> DeviceManager::FilterOf(HidDevice* device) const {
  std::lock_guard<std::mutex> lock(lists_mutex_);
  for (const auto& d : devices_) {
    if (d->handle.get() == device) return d->input_report_ids;
  }
  return {};
}

// ----------------------------------------------------------------------- I/O

void DeviceManager::SetFrameTrace(FrameTraceSink sink) {
  std::lock_guard<std::mutex> lock(trace_mutex_);
  trace_ = std::move(sink);
}

void DeviceManager::EmitTrace(const char* tag, const uint8_t* data, int count) {
  std::lock_guard<std::mutex> lock(trace_mutex_);
  if (trace_) trace_(FormatTraceLine(tag, data, count));
}

int DeviceManager::WriteTraced(HidDevice* device, const uint8_t* data, size_t length) {
  EmitTrace("W", data, static_cast<int>(length));
  return device->Write(data, length);
}

void DeviceManager::SetStatusReportSink(const void* owner, StatusReportSink sink) {
  std::lock_guard<std::mutex> lock(sink_mutex_);
  sink_owner_ = owner;
  status_sink_ = std::move(sink);
}

void DeviceManager::ClearStatusReportSink(const void* owner) {
  std::lock_guard<std::mutex> lock(sink_mutex_);
  if (sink_owner_ != owner) return;
  sink_owner_ = nullptr;
  status_sink_ = nullptr;
}

void DeviceManager::PassOver(ReportFamily family, const uint8_t* report, int length) {
  if (length <= 0) return;
  const size_t n = static_cast<size_t>(length);
  WiredStatusReport status;
  const bool is_status = family == ReportFamily::kWired ? WiredStatusReport::Parse(report, n, &status)
                                                        : nordic::IsStatusReport(report, n);
  if (is_status) {
    std::lock_guard<std::mutex> lock(sink_mutex_);
    if (status_sink_) {
      status_sink_(family, report, n);
      return;
    }
  }
  Trace(kTraceInfo, "DeviceManager: dropped a %d-byte report that answers no request (%02X %02X %02X %02X)",
        length, report[0], n > 1 ? report[1] : 0, n > 2 ? report[2] : 0, n > 3 ? report[3] : 0);
}

// Every input report of an interface arrives on its one descriptor: when
// the collection's input reports are numbered, reports with another first
// byte belong to other collections and are skipped; so are (after PassOver)
// reports of the collection that are not the one waited for. The read goes
// on for what is left of the time-out.
int DeviceManager::ReadFiltered(HidDevice* device, const std::set<uint8_t>& own_ids, uint8_t* data,
                                size_t length, int timeout_ms, const Wanted& wanted, ReportFamily family) {
  const uint64_t start = clock_.TickMs();
  int remaining = timeout_ms;
  for (;;) {
    const int n = device->ReadTimeout(data, length, remaining);
    EmitTrace("R", data, n);
    if (n <= 0) return n;
    if (own_ids.empty() || own_ids.count(data[0]) != 0) {
      if (!wanted || wanted(data, n)) return n;
      PassOver(family, data, n);
    }
    const uint64_t elapsed = clock_.TickMs() - start;
    if (elapsed >= static_cast<uint64_t>(timeout_ms)) return 0;
    remaining = timeout_ms - static_cast<int>(elapsed);
  }
}

void DeviceManager::DrainQueued(HidDevice* device, const std::set<uint8_t>& own_ids, ReportFamily family) {
  uint8_t report[kReportBuffer];
  for (int i = 0; i < kMaxQueuedReports; ++i) {
    std::memset(report, 0, sizeof(report));
    const int n = device->ReadTimeout(report, sizeof(report), 0);
    if (n <= 0) return;  // nothing queued (or the device went): not traced
    EmitTrace("R", report, n);
    if (own_ids.empty() || own_ids.count(report[0]) != 0) PassOver(family, report, n);
  }
}

int DeviceManager::ReadReport(HidDevice* device, uint8_t* data, size_t length, int timeout_ms) {
  if (device == nullptr) return -1;
  return ReadFiltered(device, FilterOf(device), data, length, timeout_ms);
}

bool DeviceManager::ExchangeWired(WiredFrame& frame) {
  if (current_type_ > kLastWiredType) return false;
  if (!opened_) return false;
  std::set<uint8_t> own_ids;
  HidDevice* device = ActiveHandleAndFilter(&own_ids);
  if (device == nullptr) return false;

  frame.FillCheck();
  const WiredFrame sent = frame;
  const auto request = frame.ToReport();  // kept for the retries

  DrainQueued(device, own_ids, ReportFamily::kWired);
  if (WriteTraced(device, request.data(), request.size()) <= 0) {
    clock_.SleepMs(kRewriteWaitMs);
    if (WriteTraced(device, request.data(), request.size()) <= 0) return false;
  }

  // Reads the reply into the payload: reply byte n replaces payload byte n.
  const Wanted reply_to_request = [&sent](const uint8_t* report, int n) {
    return WiredReplyRule::Matches(sent, report, static_cast<size_t>(n));
  };
  auto read_reply = [&]() {
    uint8_t reply[kReportBuffer] = {};
    const int n = ReadFiltered(device, own_ids, reply, sizeof(reply), kWiredReadMs, reply_to_request,
                               ReportFamily::kWired);
    if (n <= 0) return false;
    std::memcpy(frame.data(), reply, std::min<size_t>(static_cast<size_t>(n), WiredFrame::kSize));
    return true;
  };

  if (read_reply()) return true;
  clock_.SleepMs(kSecondAttemptWaitMs);
  WriteTraced(device, request.data(), request.size());
  if (read_reply()) return true;
  clock_.SleepMs(kThirdAttemptWaitMs);
  WriteTraced(device, request.data(), request.size());
  return read_reply();
}

bool DeviceManager::ReadVersionFeature(std::wstring* text, int selector) {
  if (current_type_ > kLastWiredType) return false;
  *text = L"0.0.0";
  if (!opened_ || DeviceCount() == 0) return false;
  HidDevice* device = ActiveHandle();
  if (device == nullptr) return false;

  auto report = WiredVersionReport::Request(selector);
  EmitTrace("FS", report.data(), static_cast<int>(report.size()));
  if (device->SendFeatureReport(report.data(), report.size()) < 0) return true;

  for (int attempt = 0; attempt < kFeatureAttempts; ++attempt) {
    const int n = device->GetFeatureReport(report.data(), report.size());
    EmitTrace("FG", report.data(), std::min<int>(n, static_cast<int>(report.size())));
    if (n > 0) {
      // L beyond what arrived (or beyond the 18 bytes the report holds) is
      // limited to the bytes present; the text is taken byte for byte.
      const std::string bytes =
          WiredVersionReport::Text(report.data(), std::min<size_t>(n, report.size()));
      if (!bytes.empty()) {
        std::wstring wide;
        for (unsigned char c : bytes) wide.push_back(static_cast<wchar_t>(c));
        *text = wide;
      }
      break;
    }
    clock_.SleepMs(kFeatureRetryWaitMs);
  }
  return true;
}

bool DeviceManager::ExchangeNordic(NordicFrame& frame) {
  if (!opened_) return false;
  return ExchangeNordicOn(ActiveHandle(), frame);
}

bool DeviceManager::ExchangeNordicOn(HidDevice* device, NordicFrame& frame) {
  // The handle comes from the caller's record; the scan probes receivers
  // between CloseAll (opened clear) and setting opened again.
  if (device == nullptr) return false;
  const std::set<uint8_t> own_ids = FilterOf(device);

  // The drain read; when it finds a report, the rest of the queue follows.
  uint8_t buffer[kReportBuffer] = {};
  const int drained = ReadFiltered(device, own_ids, buffer, sizeof(buffer), kNordicDrainMs);
  if (drained > 0) {
    PassOver(ReportFamily::kNordic, buffer, drained);
    DrainQueued(device, own_ids, ReportFamily::kNordic);
  }

  const auto report = frame.ToReport();
  if (WriteTraced(device, report.data(), report.size()) <= 0) return false;

  const NordicFrame sent = frame;
  const Wanted reply_to_request = [&sent](const uint8_t* data, int n) {
    return nordic::IsReplyTo(sent.bytes.data(), data, static_cast<size_t>(n));
  };
  clock_.SleepMs(kNordicReplyWaitMs);
  std::memset(buffer, 0, sizeof(buffer));
  int n = ReadFiltered(device, own_ids, buffer, sizeof(buffer), kNordicReplyMs, reply_to_request,
                       ReportFamily::kNordic);
  if (n <= 0) {
    clock_.SleepMs(kNordicRetryWaitMs);
    n = ReadFiltered(device, own_ids, buffer, sizeof(buffer), kNordicRetryMs, reply_to_request,
                     ReportFamily::kNordic);
  }
  if (n != static_cast<int>(NordicFrame::kSize)) return false;
  std::memcpy(frame.data(), buffer, NordicFrame::kSize);
  return true;
}

int32_t DeviceManager::ProbeReceiverLink(DeviceInfo& info) {
  if (info.dev_mode == kModeDirect) {
    std::lock_guard<std::mutex> lock(lists_mutex_);
    info.online = 1;
    return 1;
  }
  constexpr uint8_t kLinkQuery[] = {0x01, 0x00, 0x81, 0x01};
  constexpr uint8_t kLinkReply = 0x8C;
  NordicFrame frame;
  std::memcpy(frame.data(), kLinkQuery, sizeof(kLinkQuery));
  bool ok = ExchangeNordicOn(info.handle.get(), frame);
  if (frame[2] != kLinkReply) {
    clock_.SleepMs(kProbeRetryWaitMs);
    frame = NordicFrame();
    std::memcpy(frame.data(), kLinkQuery, sizeof(kLinkQuery));
    ok = ExchangeNordicOn(info.handle.get(), frame);
  }
  std::lock_guard<std::mutex> lock(lists_mutex_);
  if (ok && frame[2] == kLinkReply) info.online = (frame[4] >> 3) & 1;
  return info.online;
}

void DeviceManager::MarkReceiversOffline() {
  const int32_t type = current_type_;
  std::lock_guard<std::mutex> lock(lists_mutex_);
  active_ = nullptr;
  for (auto& d : devices_) {
    if (d->dev_type == type && IsReceiverMode(d->dev_mode)) d->online = 0;
  }
}

bool DeviceManager::PollReport(uint8_t* buffer) {
  if (!opened_) return false;
  std::set<uint8_t> own_ids;
  if (HidDevice* device = ActiveHandleAndFilter(&own_ids)) {
    return ReadFiltered(device, own_ids, buffer, kReportBuffer, kPollMs) ==
           static_cast<int>(NordicFrame::kSize);
  }
  // No active device: listen on every receiver of the current type.
  const int32_t type = current_type_;
  std::vector<DeviceInfo*> receivers;
  {
    std::lock_guard<std::mutex> lock(lists_mutex_);
    for (auto& d : devices_) {
      if (d->dev_type == type && IsReceiverMode(d->dev_mode) && d->handle) receivers.push_back(d.get());
    }
  }
  for (DeviceInfo* d : receivers) {
    if (ReadFiltered(d->handle.get(), d->input_report_ids, buffer, kReportBuffer, kPollMs) > 0) {
      std::lock_guard<std::mutex> lock(lists_mutex_);
      d->online = (buffer[4] >> 3) & 1;
      return true;
    }
  }
  return false;
}

}  // namespace tk410
