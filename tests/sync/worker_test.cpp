// The sync worker over the virtual bus, a real database and the headless
// runtime; the tests run the worker's turns themselves, except the close test.

#include <chrono>
#include <condition_variable>
#include <future>
#include <mutex>

#include "ui/window_fixture.h"

namespace tk410 {
namespace {

using testing::WindowFixture;

class WorkerTest : public WindowFixture {};

TEST_F(WorkerTest, StartUpWithoutDeviceThenArrivalReadsAndRunsTheInitialSequenceOnce) {
  MakeWindow();
  StartUp();
  EXPECT_EQ(devices_.CurrentDeviceType(), 101);
  EXPECT_EQ(Queue(), std::vector<int>{kTaskInitialSync});
  EXPECT_EQ(window_->GetMTimer(), 0);  // no window timer runs

  // InitialSync while offline: the worker saves the device type and opens
  // the database, then the task is dropped; idle turns do not poll.
  window_->WorkerTurn();
  EXPECT_EQ(stored_type_, 101);
  EXPECT_TRUE(db_.IsOpen());
  EXPECT_TRUE(window_->tasks.Empty());
  EXPECT_EQ(window_->initial_read_done.load(), 0);
  window_->WorkerTurn();
  EXPECT_TRUE(clock_.Sleeps().empty());

  // The mouse arrives: the bus notifies, the filter queues DeviceArrival.
  AttachMouse();
  Pump();
  EXPECT_EQ(Queue(), std::vector<int>{kTaskDeviceArrival});
  window_->selected_button.store(4);
  window_->WorkerTurn();
  EXPECT_EQ(clock_.Sleeps(), std::vector<uint32_t>{1000});  // settle, then scan
  EXPECT_TRUE(window_->online.load());
  EXPECT_TRUE(window_->connected.load());
  EXPECT_EQ(ConnectionText(), L"wired");
  EXPECT_EQ(window_->selected_button.load(), 0);
  EXPECT_EQ(window_->initial_read_done.load(), 1);
  RecordList<ProfileRecord> profiles;
  EXPECT_EQ(db_.LoadProfiles(profiles), 5);
}

TEST_F(WorkerTest, StartUpWithDeviceReadsOnceAndLaterArrivalSkipsTheInitialSequence) {
  AttachMouse();
  MakeWindow();
  StartUp();
  EXPECT_TRUE(window_->online.load());
  window_->WorkerTurn();
  EXPECT_EQ(window_->initial_read_done.load(), 1);
  EXPECT_EQ(Tabs()->GetSelectItem(), 1);

  window_->initial_read_done.store(7);  // a second initial sequence would overwrite it
  window_->Enqueue(kTaskDeviceArrival);
  window_->WorkerTurn();
  EXPECT_EQ(window_->initial_read_done.load(), 7);
  EXPECT_TRUE(window_->tasks.Empty());
}

TEST_F(WorkerTest, TasksWhileOfflineAreDroppedAndUnknownKindsIgnored) {
  MakeWindow();
  auto* wait = new PLKUI::MDialog();  // owned below
  std::unique_ptr<PLKUI::MDialog> wait_owner(wait);
  wait->Create(nullptr, L"wait", 0, 0, PLKUI::MRect{0, 0, 10, 10});
  window_->SetWaitDialog(wait);
  StartUp();
  window_->tasks.Clear();

  window_->Enqueue(kTaskLightMode);
  window_->WorkerTurn();
  EXPECT_TRUE(window_->tasks.Empty());
  EXPECT_TRUE(runtime_.EndLog().empty());  // dropped before its close wait
  EXPECT_TRUE(clock_.Sleeps().empty());

  // Online now: kinds 14 and 99 are taken and do nothing at all.
  AttachMouse();
  window_->ScanAndUpdate();
  for (int kind : {static_cast<int>(kTaskNothing), 99, 0, -1}) {
    window_->Enqueue(kind);
    window_->WorkerTurn();
  }
  EXPECT_TRUE(window_->tasks.Empty());
  EXPECT_TRUE(runtime_.EndLog().empty());
  EXPECT_TRUE(clock_.Sleeps().empty());
  Pump();
  EXPECT_TRUE(window_->results.empty());
  window_->SetWaitDialog(nullptr);
}

TEST_F(WorkerTest, EveryWriteAllClosesTheWaitDialogAndReports) {
  AttachMouse();
  MakeWindow();
  PLKUI::MDialog wait;
  wait.Create(nullptr, L"wait", 0, 0, PLKUI::MRect{0, 0, 10, 10});
  window_->SetWaitDialog(&wait);
  StartUp();
  window_->tasks.Clear();

  for (int i = 0; i < 3; ++i) window_->Enqueue(kTaskWriteAll);
  window_->Enqueue(kTaskRestoreProfile);
  window_->Enqueue(kTaskWriteSettingsQuiet);  // no close wait
  int closed = 0;
  while (!window_->tasks.Empty()) {
    window_->WorkerTurn();
    if (wait.TakeModalEnd() == 1) ++closed;  // the wait dialog's OK
  }
  EXPECT_EQ(closed, 4);
  EXPECT_EQ(clock_.Sleeps(), (std::vector<uint32_t>{100, 100, 100, 100}));
  Pump();
  EXPECT_EQ(window_->results, (std::vector<intptr_t>{1, 1, 1, 2}));
  window_->SetWaitDialog(nullptr);
}

TEST_F(WorkerTest, RemovalOfOneOfTwoInterfacesKeepsTheStateConnected) {
  // The same mouse by cable and through its receiver.
  AttachMouse();
  VirtualWiredMouseOptions receiver;
  receiver.product_id = 0x0002;
  AttachMouse(receiver);
  MakeWindow();
  StartUp();
  window_->tasks.Clear();
  EXPECT_EQ(devices_.DeviceCount(), 2u);

  // One removal per interface of the cable-connected mouse.
  bus_->Detach(attach_ids_[0]);
  Pump();
  EXPECT_EQ(Queue(), (std::vector<int>{kTaskDeviceRemoval, kTaskDeviceRemoval}));
  window_->selected_button.store(3);
  RunQueue();
  EXPECT_TRUE(window_->online.load());
  EXPECT_TRUE(window_->connected.load());
  EXPECT_EQ(ConnectionText(), L"receiver");
  EXPECT_EQ(devices_.DeviceCount(), 1u);
  EXPECT_EQ(window_->selected_button.load(), 0);  // the read sequence ran

  // The last one leaves: offline, and the next task is dropped.
  bus_->Detach(attach_ids_[1]);
  Pump();
  RunQueue();
  EXPECT_FALSE(window_->online.load());
  EXPECT_EQ(ConnectionText(), L"none");
}

// The first frame waits neither for the disk nor for the mouse: start-up
// leaves the device type and the database to the worker, and shows a usable
// mouse as being connected to until the first read has filled the pages,
// never the pages with values from before the read.
TEST_F(WorkerTest, StartUpShowsConnectingUntilTheFirstReadAndLeavesTheDatabaseToTheWorker) {
  AttachMouse();
  MakeWindow();
  StartUp();
  EXPECT_EQ(stored_type_, 0);
  EXPECT_FALSE(db_.IsOpen());
  EXPECT_TRUE(window_->online.load());
  EXPECT_EQ(ConnectionText(), L"wired");
  EXPECT_FALSE(Tabs()->IsEnabled());
  EXPECT_EQ(Tabs()->GetSelectItem(), 0);
  EXPECT_TRUE(Visible(ctl::kHomeStatus));
  EXPECT_EQ(window_->Control<PLKUI::MControlFont>(ctl::kHomeStatus)->GetTitle(), L"connecting");
  EXPECT_FALSE(Visible(ctl::kWriteButton));

  window_->WorkerTurn();  // InitialSync
  EXPECT_EQ(stored_type_, 101);
  EXPECT_TRUE(db_.IsOpen());
  EXPECT_EQ(window_->initial_read_done.load(), 1);
  EXPECT_TRUE(Tabs()->IsEnabled());
  EXPECT_EQ(Tabs()->GetSelectItem(), 1);
  EXPECT_FALSE(Visible(ctl::kHomeStatus));
  EXPECT_TRUE(Visible(ctl::kWriteButton));

  // Without a usable mouse the start-up shows the real state at once.
  MakeWindow();
  bus_->Detach(attach_ids_[0]);
  StartUp();
  EXPECT_EQ(ConnectionText(), L"none");
  EXPECT_EQ(window_->Control<PLKUI::MControlFont>(ctl::kHomeStatus)->GetTitle(), L"connect");
  window_->WorkerTurn();
  EXPECT_EQ(window_->Control<PLKUI::MControlFont>(ctl::kHomeStatus)->GetTitle(), L"connect");
}

// A backend whose enumeration blocks until the test lets it go: a device
// operation in progress when the window closes.
class GatedBus final : public HidBackend {
 public:
  std::vector<HidCollectionInfo> Enumerate() override {
    std::unique_lock<std::mutex> lock(mutex_);
    entered_ = true;
    changed_.notify_all();
    changed_.wait(lock, [this] { return released_; });
    return {};
  }
  HidOpenResult Open(const std::string&) override { return {}; }
  void WaitEntered() {
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait(lock, [this] { return entered_; });
  }
  void Release() {
    std::lock_guard<std::mutex> lock(mutex_);
    released_ = true;
    changed_.notify_all();
  }

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  bool entered_ = false;
  bool released_ = false;
};

TEST(WorkerCloseTest, CloseDuringADeviceOperationWaitsForItAndSkipsTheRestOfTheTask) {
  testing::TempDir dir;
  PLKUI::HeadlessRuntime runtime;
  PLKUI::ScopedRuntime scoped(runtime);
  ManualClock clock;
  auto gated = std::make_shared<GatedBus>();
  DeviceManager devices(gated, clock);
  ConfigDatabase db;
  DeviceMainServices services;
  services.db = &db;
  services.devices = &devices;
  services.clock = &clock;
  services.data_directory = dir.wide();
  services.catalog_path = dir.Write("config.xml", testing::kTestCatalog).wstring();
  std::filesystem::create_directories(dir.path() / "db");
  ASSERT_TRUE(db.OpenDeviceDatabase(dir.wide(), L"TK410", 101));
  auto window = std::make_unique<testing::TestWindow>(services);

  window->Enqueue(kTaskDeviceArrival);
  window->StartWorker();
  gated->WaitEntered();  // the worker is inside the arrival's scan

  const auto start = std::chrono::steady_clock::now();
  auto closed = std::async(std::launch::async, [&] { window.reset(); });
  // The close waits for the operation in progress ...
  EXPECT_EQ(closed.wait_for(std::chrono::milliseconds(50)), std::future_status::timeout);
  gated->Release();
  closed.wait();
  const auto elapsed = std::chrono::steady_clock::now() - start;
  // ... and not for the rest of the task: the read sequence, which would
  // have created the default profiles, never ran.
  EXPECT_LT(elapsed, std::chrono::milliseconds(1000));
  RecordList<ProfileRecord> profiles;
  EXPECT_EQ(db.LoadProfiles(profiles), 0);
}

}  // namespace
}  // namespace tk410
