#pragma once
// HeadlessRuntime: the runtime of tests. It runs no event loop.
//
// Modal runs: ShowModal takes the next scripted answer. An answer may look at
// (and click in) the window before the run ends, then either forces a result
// or lets the window's own DoOK / DoCancel decide. A run with no script ends
// at once: with the window's pending DoOK/DoCancel if there is one, else with
// -1, and is counted as unscripted.
//
// Posted messages queue until the test calls PumpMessages (on the thread that
// plays the window thread); timers tick when the test calls FireTimers; shown
// pop-up menus wait for ChooseMenuItem. Everything may be called from any
// thread; answers and pumps run their callbacks without holding the runtime's lock.

#include <condition_variable>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "plkui/runtime.h"

namespace PLKUI {

class HeadlessRuntime : public Runtime {
 public:
  using Inspect = std::function<void(MWindow&)>;

  struct ModalRecord {
    std::wstring title;  // the window title given to Create
    int show = 0;
    int result = 0;
    bool scripted = false;
  };
  struct EndRecord {
    std::wstring title;
    int result = 0;
  };

  HeadlessRuntime() = default;
  ~HeadlessRuntime() override = default;

  // Next modal run: `inspect` (may be empty) sees the window, then the run returns `result`.
  void AnswerNextModal(int result, Inspect inspect = {});
  // Next modal run: `act` (may be empty) sees the window and may end it with
  // its own buttons; if it has not ended, the run waits for DoOK/DoCancel from
  // another thread (a worker). A run left waiting longer than `guard_ms` ends
  // with -1 so that a broken test fails instead of hanging.
  void AnswerNextModalByEnd(Inspect act = {}, int guard_ms = 30000);
  int PendingAnswers() const;
  std::vector<ModalRecord> ModalLog() const;
  int UnscriptedModalCount() const;
  // Every DoOK / DoCancel / EndModal seen, from any thread, in order.
  std::vector<EndRecord> EndLog() const;

  // Delivers queued messages in order, including those posted while pumping;
  // returns how many were delivered.
  int PumpMessages();
  size_t QueuedMessageCount() const;
  // One tick of every running timer; returns how many ticked.
  int FireTimers();
  int TimerInterval(const MWindow& window, int id) const;  // 0 when not running

  // The newest shown menu that is still open, or nullptr.
  MenuWnd* OpenMenu() const;
  // Chooses item `id` of the open menu; false with no open menu.
  bool ChooseMenuItem(int id);

  // Runtime
  void WindowDestroyed(MWindow& window) override;
  int RunModal(MWindow& window, int show) override;
  void ModalEndRequested(MWindow& window, int result) override;
  void Post(MWindow& window, unsigned message, uintptr_t wparam, intptr_t lparam) override;
  void SetTimer(MWindow& window, int id, int ms) override;
  void ShowMenu(MenuWnd& menu) override;
  void MenuClosed(MenuWnd& menu) override;

 private:
  struct Answer {
    Inspect inspect;
    std::optional<int> result;  // none: the window's own end decides
    int guard_ms = 0;
  };
  struct Posted {
    MWindow* window;
    unsigned message;
    uintptr_t wparam;
    intptr_t lparam;
  };

  mutable std::mutex mutex_;
  std::condition_variable ended_;
  std::deque<Answer> answers_;
  std::vector<ModalRecord> modal_log_;
  std::vector<EndRecord> end_log_;
  std::deque<Posted> queue_;
  std::map<std::pair<const MWindow*, int>, int> timers_;
  std::vector<MenuWnd*> menus_;
};

}  // namespace PLKUI
