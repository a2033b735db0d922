// The main window under a real window manager (openbox on Xvfb): minimised
// with its own button, restored from the taskbar, then dragged and rescanned,
// it stays restored; maximised and restored with its own button, it is
// back at its size. The test waits on the window manager's state, bounded.

#include <gtest/gtest.h>

#include <QAbstractNativeEventFilter>
#include <QApplication>
#include <QTest>
#include <cstdint>
#include <functional>
#include <memory>

#include "gui/window_trial/x_session.h"
#include "plkui/controls.h"
#include "plkui/manager.h"
#include "plkui/qt/control_view.h"
#include "plkui/qt/window_host.h"
#include "sim/virtual_bus_device_changes.h"
#include "ui/device_main_dlg.h"
#include "ui/qt/offscreen_window_rig.h"

namespace tk410 {
namespace {

constexpr int kWaitMs = 20000;  // bounds a wait on the window manager; passing runs take far less
constexpr int kNormalState = 1;
constexpr int kIconicState = 3;

// The display and the QApplication on it, for the whole program.
class WindowManagerEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    if (!session_.Start(&reason_)) return;
    qputenv("QT_QPA_PLATFORM", "xcb");
    app_ = std::make_unique<QApplication>(argc_, argv_);
  }
  void TearDown() override {
    app_.reset();
    session_.Stop();
  }
  // Listing the tests runs no TearDown; the OS ends what is left.
  ~WindowManagerEnvironment() override { (void)app_.release(); }

  bool Ready() const { return app_ != nullptr; }
  const std::string& Reason() const { return reason_; }
  std::string Display() const { return session_.Display(); }

 private:
  testing::XSession session_;
  std::string reason_;
  int argc_ = 1;
  char name_[24] = "tk410_window_manager";
  char* argv_[2] = {name_, nullptr};
  std::unique_ptr<QApplication> app_;
};

WindowManagerEnvironment* const g_env = static_cast<WindowManagerEnvironment*>(
    ::testing::AddGlobalTestEnvironment(new WindowManagerEnvironment));

bool WaitFor(const std::function<bool()>& condition) { return QTest::qWaitFor(condition, kWaitMs); }

// Delivers what the window posted to itself (its own state changes).
void Settle() {
  QCoreApplication::sendPostedEvents();
  QCoreApplication::processEvents();
}

// Counts the probe's marker messages as the program reads its X events.
class MarkerFilter : public QAbstractNativeEventFilter {
 public:
  explicit MarkerFilter(uint32_t atom) : atom_(atom) {}
  bool nativeEventFilter(const QByteArray& type, void* message, qintptr*) override {
    if (type != "xcb_generic_event_t") return false;
    // An X client message: type 33 (the high bit marks a sent event), format, sequence, window, message type.
    struct Head {
      uint8_t response_type;
      uint8_t format;
      uint16_t sequence;
      uint32_t window;
      uint32_t type;
    };
    const auto* head = static_cast<const Head*>(message);
    if ((head->response_type & 0x7f) != 33 || head->type != atom_) return false;
    ++seen;
    return true;
  }
  int seen = 0;

 private:
  uint32_t atom_;
};

// The main window on the session's display, shown and mapped by the window manager.
class WindowTrialWindowManager : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!g_env->Ready()) GTEST_SKIP() << "no window manager to test under: " << g_env->Reason();
    rig_ = std::make_unique<test::OffscreenWindowRig>();
    ASSERT_TRUE(rig_->db_opened);
    window_ = std::make_unique<DeviceMainDlg>(rig_->services);
    window_->SetDeviceChangeSource(std::make_unique<VirtualBusDeviceChanges>(*rig_->bus));
    ASSERT_TRUE(window_->Create(nullptr, L"TEVO TK410", 0x96000000u, 0, PLKUI::MRect{0, 0, 1121, 780}));
    window_->CenterWindow();
    window_->ShowWindow(1);
    host_ = rig_->runtime.HostOf(*window_);
    ASSERT_NE(host_, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(host_, kWaitMs));
    x_ = std::make_unique<testing::XWindowProbe>(g_env->Display());
    ASSERT_TRUE(x_->Connected());
    id_ = host_->winId();
    ASSERT_TRUE(WaitFor([&] { return x_->WmState(id_) == kNormalState; }));
    markers_ = std::make_unique<MarkerFilter>(static_cast<uint32_t>(x_->MarkerAtom()));
    qApp->installNativeEventFilter(markers_.get());
  }
  void TearDown() override {
    if (markers_) qApp->removeNativeEventFilter(markers_.get());
    if (!window_) return;
    window_->EndProgram();
    window_->DestroyWindow();
  }
  void Click(int id) { QTest::mouseClick(host_->ViewOf(id), Qt::LeftButton); }
  // Waits until the window manager shows `state` to the probe and the
  // program has read every X event up to then, so a following change of the
  // window manager is not folded into this one.
  void WaitForManager(const std::function<bool()>& state, const char* what) {
    ASSERT_TRUE(WaitFor(state)) << what;
    const int sent = ++markers_sent_;
    x_->SendMarker(id_);
    ASSERT_TRUE(WaitFor([&] { return markers_->seen >= sent; })) << "the program reads no X events";
  }
  // A second mouse is plugged in: the worker scans the devices again and
  // shows the connection state; the window then takes what that posted.
  void HotPlug() {
    auto* status = window_->Control<PLKUI::MControlFont>(ctl::kHomeStatus);
    ASSERT_NE(status, nullptr);
    status->SetTitle(L"before the scan");
    rig_->bus->Attach(std::make_shared<VirtualWiredMouse>());
    ASSERT_TRUE(WaitFor([&] { return status->GetTitle() != L"before the scan"; })) << "no scan";
    Settle();
  }

  std::unique_ptr<test::OffscreenWindowRig> rig_;
  std::unique_ptr<DeviceMainDlg> window_;
  PLKUI::qt::WindowHost* host_ = nullptr;
  std::unique_ptr<testing::XWindowProbe> x_;
  unsigned long id_ = 0;
  std::unique_ptr<MarkerFilter> markers_;
  int markers_sent_ = 0;
};

TEST_F(WindowTrialWindowManager, RestoredFromTheTaskbarItStaysRestored) {
  // Minimised with the window's own button, restored from the taskbar.
  Click(ctl::kMinimize);
  ASSERT_NO_FATAL_FAILURE(WaitForManager([&] { return x_->WmState(id_) == kIconicState; }, "not minimised"));
  x_->ActivateFromTaskbar(id_);
  ASSERT_TRUE(WaitFor([&] { return x_->WmState(id_) == kNormalState && !host_->isMinimized(); }))
      << "not restored by the window manager";
  EXPECT_FALSE(window_->IsIconic());

  // A drag by the background, then a hot-plug scan: it stays restored.
  const QPoint grip(560, 30);
  QTest::mousePress(host_, Qt::LeftButton, {}, grip);
  QTest::mouseMove(host_, grip + QPoint(24, 16));
  QTest::mouseRelease(host_, Qt::LeftButton, {}, grip + QPoint(24, 16));
  Settle();
  EXPECT_FALSE(host_->isMinimized()) << "minimised again by a drag";
  ASSERT_NO_FATAL_FAILURE(HotPlug());
  EXPECT_FALSE(host_->isMinimized()) << "minimised again by a scan";
  EXPECT_EQ(x_->WmState(id_), kNormalState);
}

// Maximised and restored with the window's own button, twice: each time the
// window manager and the window agree on the state and the size.
TEST_F(WindowTrialWindowManager, MaximiseAndRestoreAgainAndAgain) {
  for (int round = 1; round <= 2; ++round) {
    SCOPED_TRACE(round);
    Click(ctl::kMaximize);
    ASSERT_NO_FATAL_FAILURE(WaitForManager([&] { return x_->Maximized(id_) && host_->isMaximized(); }, "not maximised"));
    EXPECT_EQ(window_->Control<PLKUI::MControl>(ctl::kMaximize)->GetImage(), L"sysbtn_restore.png");
    Click(ctl::kMaximize);
    ASSERT_TRUE(WaitFor([&] {
      return !x_->Maximized(id_) && !host_->isMaximized() && host_->size() == QSize(1121, 780);
    })) << "still maximised after restore";
    EXPECT_EQ(window_->Control<PLKUI::MControl>(ctl::kMaximize)->GetImage(), L"sysbtn_maximize.png");
    EXPECT_FALSE(window_->IsZoomed());
  }
}

// Restored by the window manager instead of the window's button: the window
// follows, a later drag or scan does not maximise it again, and its button
// maximises it again.
TEST_F(WindowTrialWindowManager, RestoredByTheWindowManagerItStaysRestored) {
  Click(ctl::kMaximize);
  ASSERT_NO_FATAL_FAILURE(WaitForManager([&] { return x_->Maximized(id_) && host_->isMaximized(); }, "not maximised"));
  x_->UnmaximizeFromTaskbar(id_);
  ASSERT_TRUE(WaitFor([&] { return !x_->Maximized(id_) && !host_->isMaximized(); }))
      << "not restored by the window manager";
  EXPECT_FALSE(window_->IsZoomed());
  EXPECT_EQ(window_->Control<PLKUI::MControl>(ctl::kMaximize)->GetImage(), L"sysbtn_maximize.png");

  ASSERT_NO_FATAL_FAILURE(HotPlug());
  EXPECT_FALSE(host_->isMaximized()) << "maximised again by a scan";

  Click(ctl::kMaximize);
  EXPECT_TRUE(WaitFor([&] { return x_->Maximized(id_) && host_->isMaximized(); }))
      << "the button did not maximise it";
}

}  // namespace
}  // namespace tk410
