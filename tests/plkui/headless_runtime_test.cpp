// The headless runtime: scripted modal runs (inspecting and clicking inside
// the dialog first), ends from a worker thread, posted messages, timers and
// pop-up menus.

#include <gtest/gtest.h>

#include <thread>

#include "plkui/headless_runtime.h"
#include "plkui/recording_dialog.h"

namespace tk410::test {
namespace {

using namespace PLKUI;

// A two-button box: 33 ends with DoOK, 34 with DoCancel.
class AskDialog : public RecordingDialog {
 public:
  AskDialog() {
    build = [](RecordingDialog& d) {
      d.Make<MText>(L"MText", 32, L"确定要恢复默认设置吗?");
      d.Make<MButton>(L"MButton", 33, L"OK");
      d.Make<MButton>(L"MButton", 34, L"Cancel");
    };
  }
  intptr_t OnMessage(int id, int code, intptr_t param) override {
    RecordingDialog::OnMessage(id, code, param);
    if (code == kNotifyClick && id == 33) DoOK();
    if (code == kNotifyClick && id == 34) DoCancel();
    return 0;
  }
};

class HeadlessRuntimeTest : public ::testing::Test {
 protected:
  HeadlessRuntime runtime;
  ScopedRuntime scoped{runtime};
};

TEST_F(HeadlessRuntimeTest, ScriptedAnswersSeeTheDialogAndDecideTheResult) {
  std::wstring seen;
  runtime.AnswerNextModal(kResultCancel, [&](MWindow& w) {
    seen = static_cast<MDialog&>(w).GetControlAs<MText>(32)->GetTitle();
    EXPECT_TRUE(w.IsModalRunning());
  });
  // The box's own buttons decide: the right button gives 2, the left 1.
  runtime.AnswerNextModalByEnd(
      [](MWindow& w) { static_cast<MDialog&>(w).GetControl(34)->PerformClick(); });
  runtime.AnswerNextModalByEnd(
      [](MWindow& w) { static_cast<MDialog&>(w).GetControl(33)->PerformClick(); });

  int results[3];
  for (int& r : results) {
    AskDialog box;
    ASSERT_TRUE(box.Create(nullptr, L"MessageBox", 0x96000000u, 0x80, MRect{0, 0, 430, 230}));
    box.CenterWindow();
    EXPECT_EQ(box.GetWindowRect(), (MRect{745, 425, 1175, 655}));
    r = box.ShowModal(1);
    EXPECT_FALSE(box.IsModalRunning());
  }
  EXPECT_EQ(seen, L"确定要恢复默认设置吗?");
  EXPECT_EQ(results[0], 2);
  EXPECT_EQ(results[1], 2);
  EXPECT_EQ(results[2], 1);
  EXPECT_EQ(runtime.PendingAnswers(), 0);
  EXPECT_EQ(runtime.UnscriptedModalCount(), 0);
  ASSERT_EQ(runtime.ModalLog().size(), 3u);
  EXPECT_EQ(runtime.ModalLog()[0].title, L"MessageBox");
}

TEST_F(HeadlessRuntimeTest, AWorkerEndsTheWaitDialogBeforeOrDuringTheRun) {
  // During: the run waits until the worker's DoOK arrives.
  {
    RecordingDialog wait;
    ASSERT_TRUE(wait.Create(nullptr, L"WaitDlg", 0x96000000u, 0x80, MRect{0, 0, 102, 102}));
    std::thread worker;
    runtime.AnswerNextModalByEnd([&](MWindow& w) {
      worker = std::thread([&] { wait.DoOK(); });
    });
    EXPECT_EQ(wait.ShowModal(5), kResultOK);
    worker.join();
  }
  // Before: an end that came first is not lost, even with no script.
  {
    RecordingDialog wait;
    ASSERT_TRUE(wait.Create(nullptr, L"WaitDlg", 0x96000000u, 0x80, MRect{0, 0, 102, 102}));
    std::thread([&] { wait.DoOK(); }).join();
    EXPECT_EQ(wait.ShowModal(5), kResultOK);
  }
  // Unscripted and never ended: returns at once with -1 and is counted.
  {
    RecordingDialog plain;
    ASSERT_TRUE(plain.Create(nullptr, L"Plain", 0, 0, MRect{0, 0, 10, 10}));
    EXPECT_EQ(plain.ShowModal(1), -1);
  }
  EXPECT_EQ(runtime.UnscriptedModalCount(), 2);
  const auto ends = runtime.EndLog();
  ASSERT_EQ(ends.size(), 2u);
  EXPECT_EQ(ends[0].title, L"WaitDlg");
  EXPECT_EQ(ends[0].result, kResultOK);
}

// A runtime that reports an end only after the modal run has already taken
// it: the order a loaded machine can produce when the worker is preempted
// between setting the end and reporting it.
class LateReportingRuntime : public HeadlessRuntime {
 public:
  void ModalEndRequested(MWindow& window, int result) override {
    while (window.PendingModalEnd()) std::this_thread::yield();
    HeadlessRuntime::ModalEndRequested(window, result);
  }
};

TEST(HeadlessRuntimeOrderTest, AnEndTakenByTheRunBeforeItIsReportedIsLoggedWithItsResult) {
  LateReportingRuntime runtime;
  ScopedRuntime scoped{runtime};
  RecordingDialog wait;
  ASSERT_TRUE(wait.Create(nullptr, L"WaitDlg", 0x96000000u, 0x80, MRect{0, 0, 102, 102}));
  std::thread worker;
  runtime.AnswerNextModalByEnd([&](MWindow& w) {
    worker = std::thread([&] { wait.DoOK(); });
    // The run starts waiting only once the end is set, so it takes it at once.
    while (!w.PendingModalEnd()) std::this_thread::yield();
  });
  EXPECT_EQ(wait.ShowModal(5), kResultOK);
  worker.join();
  const auto ends = runtime.EndLog();
  ASSERT_EQ(ends.size(), 1u);
  EXPECT_EQ(ends[0].result, kResultOK);
}

TEST_F(HeadlessRuntimeTest, PostedMessagesWaitForThePumpAndSkipDeadWindows) {
  RecordingDialog main;
  ASSERT_TRUE(main.Create(nullptr, L"TEVO TK410", 0x96000000u, 0, MRect{0, 0, 1121, 780}));
  std::thread worker([&] {
    for (int i = 0; i < 100; ++i) main.PostMessage(1714, 0, i % 2 ? 1 : 2);
  });
  worker.join();
  EXPECT_TRUE(main.messages.empty());
  EXPECT_EQ(runtime.QueuedMessageCount(), 100u);
  EXPECT_EQ(runtime.PumpMessages(), 100);
  ASSERT_EQ(main.messages.size(), 100u);
  EXPECT_EQ(main.messages[0], (ReceivedMessage{1714, 0, 2}));
  EXPECT_EQ(main.messages[1], (ReceivedMessage{1714, 0, 1}));

  {
    RecordingDialog gone;
    ASSERT_TRUE(gone.Create(nullptr, L"Gone", 0, 0, MRect{}));
    gone.PostMessage(2022);
    main.PostMessage(2022);
  }
  EXPECT_EQ(runtime.PumpMessages(), 1);
  EXPECT_EQ(main.messages.back(), (ReceivedMessage{2022, 0, 0}));

  RecordingDialog never_created;
  EXPECT_FALSE(never_created.PostMessage(2022));
}

TEST_F(HeadlessRuntimeTest, MenuChoicePostsTheMessageWithTheItemId) {
  RecordingDialog main;
  ASSERT_TRUE(main.Create(nullptr, L"TEVO TK410", 0x96000000u, 0, MRect{0, 0, 1121, 780}));
  auto* menu = new MenuWnd(&main);  // owned by the dialog
  ASSERT_TRUE(menu->Create(&main, MPoint{12, 34}, 1709, 80));
  menu->AddMenu(L"复制", 101, L"", 0, -1);
  menu->AddMenu(L"删除", 102, L"", 0, -1);
  EXPECT_EQ(runtime.OpenMenu(), nullptr);
  menu->ShowWindow(1);
  ASSERT_EQ(runtime.OpenMenu(), menu);
  EXPECT_EQ(menu->GetItems().size(), 2u);
  EXPECT_TRUE(runtime.ChooseMenuItem(102));
  EXPECT_EQ(runtime.OpenMenu(), nullptr);
  EXPECT_FALSE(runtime.ChooseMenuItem(101));
  runtime.PumpMessages();
  EXPECT_EQ(main.messages, (std::vector<ReceivedMessage>{{1709, 0, 102}}));

  // A dismissed menu posts nothing; the next menu frees the closed ones.
  auto* second = new MenuWnd(&main);
  second->Create(&main, MPoint{}, 1711, 120);
  second->AddMenu(L"置顶", 100);
  second->ShowWindow(1);
  second->Close();
  new MenuWnd(&main);
  runtime.PumpMessages();
  EXPECT_EQ(main.messages.size(), 1u);
}

TEST_F(HeadlessRuntimeTest, WindowStateForTheTitleBarButtonsAndClose) {
  RecordingDialog main;
  ASSERT_TRUE(main.Create(nullptr, L"TEVO TK410", 0x96000000u, 0, MRect{0, 0, 1121, 780}));
  EXPECT_TRUE(main.IsWindowVisible());
  main.OnMaximize();
  EXPECT_TRUE(main.IsZoomed());
  main.OnMaximize();
  EXPECT_FALSE(main.IsZoomed());
  main.OnMinimize();
  EXPECT_TRUE(main.IsIconic());
  main.SetProp(L"TEVO TK410", 1);
  EXPECT_EQ(main.GetProp(L"TEVO TK410"), 1);
  EXPECT_EQ(main.GetProp(L"other"), 0);
  main.SetMessage(L"蓝牙连接不支持设置", MRect{385, 200, 735, 280});
  EXPECT_EQ(main.GetMessageText(), L"蓝牙连接不支持设置");
  EXPECT_EQ(main.GetMessageRect().Width(), 350);

  // A close through the library ends the modal run with 2.
  runtime.AnswerNextModalByEnd([](MWindow& w) { w.SendMessage(kWmClose); });
  EXPECT_EQ(main.ShowModal(1), kResultCancel);
  main.DestroyWindow();
  EXPECT_FALSE(main.IsCreated());
  EXPECT_EQ(main.GetSafeHwnd(), nullptr);
}

}  // namespace
}  // namespace tk410::test
