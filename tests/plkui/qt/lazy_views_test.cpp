// A control not on screen gets its view when it is first shown (or its view
// is asked for): the window's start builds the views of what is on screen
// only. Views built later lie in the stacking order of their controls'
// creation, as if all had been built at once.

#include <gtest/gtest.h>

#include <QApplication>
#include <thread>

#include "plkui/qt/control_view.h"
#include "plkui/qt/qt_runtime.h"
#include "plkui/qt/window_host.h"
#include "plkui/recording_dialog.h"
#include "support/qt_app_environment.h"

namespace tk410::test {
namespace {

using namespace PLKUI;
using PLKUI::qt::ControlView;
using PLKUI::qt::QtRuntime;
using PLKUI::qt::WindowHost;

QApplication& g_app = TestApp();

// The ids of the host's views, bottom of the stack first.
std::vector<int> StackedViews(const WindowHost& host) {
  std::vector<int> ids;
  for (QObject* child : host.children()) {
    if (auto* view = qobject_cast<ControlView*>(child)) ids.push_back(view->Control().GetId());
  }
  return ids;
}

TEST(LazyViewsTest, HiddenControlsGetTheirViewsWhenShownInCreationOrder) {
  QtRuntime runtime;
  ScopedRuntime scoped(runtime);
  RecordingDialog dlg;
  MControl* page = nullptr;
  MControl* hidden_on_shown_page = nullptr;
  dlg.build = [&](RecordingDialog& d) {
    // A page not shown, a card and a label on it, then a title on screen
    // created after them, overlapping the page.
    page = d.CreateControl(L"MTabLayout", 10, {0, 0, 200, 200}, L"");
    page->SetVisible(false);
    d.CreateControl(L"CArea", 11, {10, 10, 190, 190}, L"")->SetParent(page);
    d.CreateControl(L"MText", 12, {20, 20, 180, 60}, L"label")->SetParent(page);
    d.CreateControl(L"MText", 13, {0, 0, 200, 30}, L"title");
    // A control hidden itself on a page that is shown.
    hidden_on_shown_page = d.CreateControl(L"MButton", 14, {20, 100, 120, 130}, L"later");
    hidden_on_shown_page->SetVisible(false);
  };
  ASSERT_TRUE(dlg.Create(nullptr, L"lazy", 0x10000000u, 0, MRect{0, 0, 200, 200}));
  WindowHost* host = runtime.HostOf(dlg);
  ASSERT_NE(host, nullptr);
  EXPECT_EQ(StackedViews(*host), std::vector<int>{13});

  // Shown from another thread, as the worker shows pages: the host builds
  // the page's views once the GUI thread looks, under the later title.
  std::thread([&] { page->SetVisible(true); }).join();
  QCoreApplication::processEvents();
  EXPECT_EQ(StackedViews(*host), (std::vector<int>{10, 11, 12, 13}));
  EXPECT_TRUE(host->ViewOf(12)->isVisibleTo(host));

  // A view asked for is built at once, hidden while its control is, and
  // still in its place of the stack.
  ControlView* later = host->ViewOf(14);
  ASSERT_NE(later, nullptr);
  EXPECT_FALSE(later->isVisibleTo(host));
  EXPECT_EQ(StackedViews(*host), (std::vector<int>{10, 11, 12, 13, 14}));
  hidden_on_shown_page->SetVisible(true);
  QCoreApplication::processEvents();
  EXPECT_TRUE(later->isVisibleTo(host));
  EXPECT_EQ(host->ViewOf(99), nullptr);

  dlg.DestroyWindow();
}

}  // namespace
}  // namespace tk410::test
