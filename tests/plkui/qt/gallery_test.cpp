// The Qt views on the offscreen platform: a gallery dialog holding every
// control class, real mouse and key input through QTest, the notifications
// that reach OnMessage, modal runs ended from a worker thread, posted
// messages, and a screenshot saved as a test artifact.

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <atomic>
#include <thread>

#include "plkui/qt/control_view.h"
#include "plkui/qt/qt_runtime.h"
#include "plkui/qt/window_host.h"
#include "plkui/recording_dialog.h"
#include "support/qt_app_environment.h"

namespace tk410::test {
namespace {

using namespace PLKUI;
using PLKUI::qt::QtRuntime;
using PLKUI::qt::WindowHost;

QApplication& App() { return TestApp(); }
// Created before any test runs, so the QApplication exists first.
QApplication& g_app = App();

// Builds one of every control with Chinese and English captions.
void BuildGallery(RecordingDialog& d) {
  auto make = [&](const wchar_t* cls, int id, MRect r, const std::wstring& caption = L"") {
    return d.CreateControl(cls, id, r, caption, 1, 1);
  };
  make(L"MPicture", 30, {0, 0, 1100, 740})->SetImage(L"background.png");
  auto* title_bar = static_cast<CArea*>(make(L"CArea", 32, {0, 0, 1100, 44}));
  title_bar->SetTransparent(true);
  make(L"MPicture", 33, {12, 6, 92, 38})->SetImage(L"logo\\logo.png");
  auto* title = static_cast<MText*>(make(L"MText", 35, {400, 6, 700, 38}, L"TEVO TK410 控件一览"));
  title->SetAlignment(kAlignCenter | kAlignVCenter);
  title->SetFontWidth(18);
  make(L"CImageButton", 37, {1000, 10, 1024, 34})->SetImage(L"sysbtn_min.png");
  make(L"CImageButton", 38, {1030, 10, 1054, 34})->SetImage(L"sysbtn_maximize.png");
  make(L"CImageButton", 36, {1060, 10, 1084, 34})->SetImage(L"sysbtn_close.png");
  static_cast<BatteryCtrl*>(make(L"BatteryCtrl", 40, {820, 12, 900, 34}))->SetBatteryInfo(76, 1);
  make(L"CDeviceState", 41, {120, 10, 300, 34}, L"已连接 (有线)");
  make(L"CTextButton", 44, {310, 10, 380, 34});

  auto* tab = static_cast<MTabCtrl*>(make(L"MTabCtrl", 45, {20, 56, 400, 120}));
  auto* home = static_cast<MTabLayout*>(make(L"MTabLayout", 51, {20, 130, 1080, 720}));
  auto* other = static_cast<MTabLayout*>(make(L"MTabLayout", 46, {20, 130, 1080, 720}));
  const wchar_t* names[] = {L"主页", L"按键", L"DPI", L"宏", L"设置"};
  const int pages[] = {1, 2, 3, 4, 6};
  for (int i = 0; i < 5; ++i) {
    tab->AddItem(names[i], L"icon\\tab_home.png", pages[i], i == 0 ? home : other);
  }
  auto add = [&](MControl* c) {
    home->AddControl(c);
    return c;
  };

  auto* mouse = static_cast<MouseCtrl*>(add(make(L"MouseCtrl", 87, {30, 140, 560, 470})));
  const wchar_t* markers[] = {L"左键", L"右键", L"中键", L"前进", L"后退", L"DPI+", L"DPI-", L"宏 1"};
  for (const wchar_t* m : markers) mouse->AddItem(m);

  const uint32_t colors[] = {255, 65280, 16711680, 65535, 16776960, 8388736};
  for (int i = 0; i < 6; ++i) {
    auto* stage = static_cast<DPIControl*>(
        add(make(L"DPIControl", 101 + i, {580 + i * 82, 140, 656 + i * 82, 226}, L"档位" + FormatInt(i + 1))));
    stage->SetGroupName(L"MOUSE_DPICTRL");
    stage->SetColor(colors[i]);
    stage->SetDPIValue((i + 1) * 800);
  }
  static_cast<DPIControl*>(d.GetControl(103))->SetCheckState(1);
  auto* dpi_slider = static_cast<DPISlider*>(add(make(L"DPISlider", 107, {580, 236, 1010, 262})));
  dpi_slider->SetRange(1, 120);
  dpi_slider->SetProgress(24);
  add(make(L"CImageButton", 108, {1016, 238, 1038, 260}))->SetImage(L"img_btn_addvalue.png");
  add(make(L"CImageButton", 109, {1042, 238, 1064, 260}))->SetImage(L"img_btn_subtract.png");
  add(make(L"CImageButton", 98, {1042, 274, 1064, 296}))->SetTooltip(L"重置DPI");

  const wchar_t* rates[] = {L"125Hz", L"250Hz", L"500Hz", L"1000Hz", L"2000Hz", L"4000Hz", L"8000Hz"};
  for (int i = 0; i < 7; ++i) {
    auto* rate = static_cast<ColorButtonEx*>(add(make(L"ColorButtonEx", 114 + i, {580 + i * 68, 306, 642 + i * 68, 334}, rates[i])));
    rate->SetGroupName(L"REPORTRATE");
  }
  static_cast<ColorButtonEx*>(d.GetControl(117))->SetCheck(1);

  auto* light = static_cast<MComboBox*>(add(make(L"MComboBox", 123, {580, 350, 800, 382})));
  const wchar_t* modes[] = {L"常亮", L"呼吸", L"霓虹", L"关闭"};
  for (int i = 0; i < 4; ++i) light->AddItem(modes[i], i);
  light->SelectData(1);
  add(make(L"MText", 122, {580, 384, 800, 404}, L"灯光模式 Lighting"));
  add(make(L"CHelpButton", 134, {806, 356, 826, 376}, L"传感器选项说明\n第二行"));

  auto* lod1 = static_cast<CRadioButton*>(add(make(L"CRadioButton", 130, {840, 350, 930, 376}, L"1.0mm")));
  auto* lod2 = static_cast<CRadioButton*>(add(make(L"CRadioButton", 131, {940, 350, 1040, 376}, L"2.0mm")));
  lod1->SetGroupName(L"IDC_PER_STC_LOD");
  lod2->SetGroupName(L"IDC_PER_STC_LOD");
  lod1->SetCheck(1);
  auto* sensor = static_cast<CCheckButton*>(add(make(L"CCheckButton", 135, {840, 384, 1060, 408}, L"角度捕捉 Angle snap")));
  sensor->SetCheck(1);
  add(make(L"CCheckButton", 136, {840, 410, 1060, 434}, L"直线修正"));
  auto* sw = static_cast<CSwitchButton*>(add(make(L"CSwitchButton", 265, {580, 420, 780, 446}, L"开机启动")));
  sw->SetImages(L"img_switch_btn_off.png", L"img_switch_btn_on.png");
  sw->SetCheck(1);

  auto* respond = static_cast<NumberEdit*>(add(make(L"NumberEdit", 85, {580, 460, 680, 488}, L"8")));
  respond->SetRange(0, 20);
  auto* delay = static_cast<MEdit*>(add(make(L"MEdit", 176, {690, 460, 800, 488}, L"")));
  delay->SetTipInfo(L"延迟 ms");
  delay->SetNumberOnly(true);
  delay->SetLimitText(5);
  auto* speed = static_cast<MSlider*>(add(make(L"MSlider", 238, {810, 460, 1060, 488})));
  speed->SetRange(0, 19);
  speed->SetProgress(9);
  add(make(L"NumberEdit2", 247, {1000, 500, 1060, 528}, L"3"));

  auto* macros = static_cast<MacroList*>(add(make(L"MacroList", 155, {30, 486, 250, 700})));
  macros->AddString(L"自定义 1", 1, -1);
  macros->AddString(L"Custom 2 Copy", 2, -1);
  macros->AddString(L"连招宏", 3, -1);
  macros->SetCurSel(0);
  auto* steps = static_cast<CRecordList*>(add(make(L"CRecordList", 166, {260, 486, 560, 700})));
  steps->AddString(L"↓  A", 2, 65, 1);
  steps->AddString(L" -   10 ms", 1, 10, 2);
  steps->AddString(L"↑  A", 3, 65, 1);
  steps->AddString(L"→  1, ↓  1", 12, 257, 3);
  steps->SetCurSel(1);
  auto* rec = static_cast<CIconButton*>(add(make(L"CIconButton", 170, {580, 500, 720, 532}, L"开始录制")));
  rec->SetIcon(L"icon\\icon_rec.png");
  add(make(L"MButton", 88, {730, 500, 860, 532}, L"写入鼠标"));
  add(make(L"MButton", 89, {870, 500, 990, 532}, L"读取"));

  auto* emoji = static_cast<EmojiControl*>(add(make(L"EmojiControl", 40 + 1000, {580, 544, 900, 700})));
  for (int n = 1; n <= 21; ++n) emoji->AddEmoji(n, L"表情 " + FormatInt(n), L"emoji\\" + FormatInt(n - 1) + L".png");
  emoji->SetSelectItem(2);
  auto* gif = static_cast<CGifPicture*>(add(make(L"CGifPicture", 300, {920, 560, 1000, 640})));
  gif->SetImage(L"loading.gif");
  gif->Play();
  auto* round = static_cast<CRoundArea*>(add(make(L"CRoundArea", 301, {910, 650, 1070, 700})));
  round->SetRadius(12);
  auto* note = static_cast<MText*>(add(make(L"MText", 302, {918, 652, 1064, 698}, L"圆角区域 Round area")));
  note->SetAlignment(kAlignCenter | kAlignVCenter);
  note->SetTextColor(0x00C4FF2E);  // cyan as 0x00BBGGRR
  d.SetMessage(L"", MRect{});
}

class GalleryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    App();
    runtime = std::make_unique<QtRuntime>();
    scoped = std::make_unique<ScopedRuntime>(*runtime);
  }
  void TearDown() override {
    scoped.reset();
  }
  WindowHost& Host(MWindow& w) { return *runtime->HostOf(w); }
  QWidget* View(MWindow& w, int id) { return Host(w).ViewOf(id); }
  static void Settle() {
    for (int i = 0; i < 5; ++i) QCoreApplication::processEvents();
  }

  std::unique_ptr<QtRuntime> runtime;
  std::unique_ptr<ScopedRuntime> scoped;
};

TEST_F(GalleryTest, ClicksAndTypingReachOnMessageAndTheScreenshotIsSaved) {
  RecordingDialog dlg;
  dlg.build = BuildGallery;
  ASSERT_TRUE(dlg.Create(nullptr, L"Gallery", 0x96000000u, 0, MRect{0, 0, 1100, 740}));
  Settle();
  ASSERT_NE(runtime->HostOf(dlg), nullptr);
  EXPECT_TRUE(Host(dlg).isVisible());
  for (MControl* c : dlg.GetControls()) EXPECT_NE(View(dlg, c->GetId()), nullptr) << ToUtf8(c->GetClassName());

  // The write button, the unchecked sensor box, the second radio.
  QTest::mouseClick(View(dlg, 88), Qt::LeftButton);
  QTest::mouseClick(View(dlg, 136), Qt::LeftButton);
  QTest::mouseClick(View(dlg, 131), Qt::LeftButton);
  EXPECT_EQ(dlg.GetControlAs<CCheckButton>(136)->GetCheck(), 1);
  EXPECT_EQ(dlg.GetControlAs<CRadioButton>(131)->GetCheck(), 1);
  EXPECT_EQ(dlg.GetControlAs<CRadioButton>(130)->GetCheck(), 0);

  // Second tab item (60 + 8 px apart): page change with the item index.
  QTest::mouseClick(View(dlg, 45), Qt::LeftButton, {}, QPoint(68 + 30, 30));
  EXPECT_EQ(dlg.GetControlAs<MTabCtrl>(45)->GetSelectItem(), 1);
  Settle();  // views follow the model on the next event round
  EXPECT_FALSE(View(dlg, 87)->isVisible());  // the home layout's controls are hidden
  QTest::mouseClick(View(dlg, 45), Qt::LeftButton, {}, QPoint(30, 30));
  Settle();
  EXPECT_TRUE(View(dlg, 87)->isVisible());

  // Typing into stage 1's DPI box reports 26 per key, Enter reports 29.
  auto* dpi_edit = View(dlg, 101)->findChild<QLineEdit*>();
  ASSERT_NE(dpi_edit, nullptr);
  dpi_edit->setFocus();
  dpi_edit->selectAll();
  QTest::keyClicks(dpi_edit, "3250");
  QTest::keyClick(dpi_edit, Qt::Key_Return);
  EXPECT_EQ(dlg.GetControlAs<DPIControl>(101)->GetDPIValue(), 3250);

  // A click in the step list's second row, a right click in the macro list.
  QTest::mouseClick(View(dlg, 166), Qt::LeftButton, {}, QPoint(40, 2 + 30 + 15));
  QTest::mouseClick(View(dlg, 155), Qt::RightButton, {}, QPoint(40, 2 + 2 * 30 + 15));

  std::vector<Notification> expected = {{88, 2, 0}, {136, 2, 0}, {131, 2, 0}, {45, 2, 1}, {45, 2, 0}};
  for (int i = 0; i < 4; ++i) expected.push_back({101, 26, 0});
  expected.push_back({101, 29, 0});
  expected.push_back({166, 2, 1});
  expected.push_back({155, 9, 2});
  ASSERT_EQ(dlg.notifications.size(), expected.size());
  for (size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(dlg.notifications[i], expected[i])
        << i << ": " << dlg.notifications[i].id << "/" << dlg.notifications[i].code;
  }

  Settle();
  const QString dir = QStringLiteral(TK410_BIN_DIR "/../artifacts");
  QDir().mkpath(dir);
  const QPixmap shot = Host(dlg).grab();
  EXPECT_EQ(shot.size(), QSize(1100, 740));
  EXPECT_TRUE(shot.save(dir + QStringLiteral("/plkui_gallery.png")));
}

TEST_F(GalleryTest, WorkerEndsTheModalRunAndPostsToTheWindowThread) {
  RecordingDialog wait;
  wait.build = [](RecordingDialog& d) {
    auto* gif = static_cast<CGifPicture*>(d.CreateControl(L"CGifPicture", 30, MRect{1, 1, 101, 101}, L"", 1, 1));
    gif->SetImage(L"loading.gif");
    gif->Play();
  };
  ASSERT_TRUE(wait.Create(nullptr, L"WaitDlg", 0x96000000u, 0x80, MRect{0, 0, 102, 102}));
  std::thread worker([&] {
    wait.PostMessage(1714, 0, 1);
    wait.DoOK();
  });
  EXPECT_EQ(wait.ShowModal(5), kResultOK);
  worker.join();
  Settle();
  EXPECT_EQ(wait.messages, (std::vector<ReceivedMessage>{{1714, 0, 1}}));
  EXPECT_FALSE(Host(wait).isVisible());

  // A close of the frameless window ends the run with 2.
  QTimer::singleShot(0, [&] { Host(wait).close(); });
  EXPECT_EQ(wait.ShowModal(1), kResultCancel);
}

// Thousands of setter calls from a worker while the GUI thread handles
// events and renders; afterwards the views show the last state.
TEST_F(GalleryTest, WorkerSettersWhileTheGuiThreadRenders) {
  RecordingDialog dlg;
  dlg.build = BuildGallery;
  ASSERT_TRUE(dlg.Create(nullptr, L"Gallery", 0x96000000u, 0, MRect{0, 0, 1100, 740}));
  Settle();
  auto* battery = dlg.GetControlAs<BatteryCtrl>(40);
  auto* state = dlg.GetControlAs<CDeviceState>(41);
  auto* slider = dlg.GetControlAs<DPISlider>(107);
  auto* steps = dlg.GetControlAs<CRecordList>(166);
  std::vector<DPIControl*> stages;
  for (int i = 0; i < 6; ++i) stages.push_back(dlg.GetControlAs<DPIControl>(101 + i));

  constexpr int kRounds = 4000;
  std::atomic<bool> done{false};
  std::thread worker([&] {
    for (int i = 0; i < kRounds; ++i) {
      battery->SetBatteryInfo(i % 101, i % 2);
      state->SetTitle(i % 2 ? L"已连接" : L"未连接");
      stages[i % 6]->SetCheckState(1);
      stages[i % 6]->SetDPIValue(100 * (1 + i % 120));
      slider->SetProgress(1 + i % 120);
      steps->AddString(L"↓  A", 2, 65, i);
      if (i % 64 == 0) steps->DeleteAllItems();
    }
    done = true;
  });
  int frames = 0;
  while (!done) {
    QCoreApplication::processEvents();
    if (++frames % 16 == 0) (void)Host(dlg).grab();
  }
  worker.join();
  Settle();
  const int last = kRounds - 1;
  EXPECT_EQ(View(dlg, 101 + last % 6)->findChild<QLineEdit*>()->text(),
            QString::number(100 * (1 + last % 120)));
  EXPECT_EQ(stages[last % 6]->GetCheckState(), 1);
  EXPECT_EQ(slider->GetProgress(), 1 + last % 120);
  EXPECT_EQ(steps->GetItemCount(), last % 64);
  EXPECT_GT(frames, 0);
}

}  // namespace
}  // namespace tk410::test
