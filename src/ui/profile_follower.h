#pragma once
// Profiles that follow the program in front. While at least one
// per-program rule exists, the follower watches the window in front (through
// an ActiveWindowSource) and, when a window has settled there, decides the
// profile from the rules and selects it as the profile list does; without
// rules it watches nothing and the window behaves as it always has.
//
// Threads: the source reports on its own thread; the follower only keeps
// the report and posts a message, and the decision runs on the window
// thread (OnWindowInFront).

#include <atomic>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>

#include "platform/active_window_source.h"

namespace tk410 {

class DeviceMainDlg;

// Posted to the window: a window settled in front / the source's state changed.
constexpr unsigned kMsgWindowInFront = 1720;
constexpr unsigned kMsgFollowState = 1721;

// The profile switch of a rule, the tray menu or another program: the
// profile becomes the current and active one and the profile list shows it
// (as a choice in the list does), the worker reloads the pages and switches
// the mouse: the Nordic family selects the profile on the mouse; the wired
// family, which has no such command, is sent the profile's settings block,
// which names the profile.
void FollowProfile(DeviceMainDlg& window, int profile);

// A request line from another start of the program (app/instance_request.h):
// a profile selected or rules changed in this window's database.
void HandleInstanceRequest(DeviceMainDlg& window, const std::string& line);

class ProfileFollower {
 public:
  // `source` may be null (no following); `proc_root` is where processes are
  // looked up ("/proc").
  ProfileFollower(DeviceMainDlg& window, ActiveWindowSource* source, std::string proc_root);
  ~ProfileFollower();
  ProfileFollower(const ProfileFollower&) = delete;
  ProfileFollower& operator=(const ProfileFollower&) = delete;

  // Window thread: reads whether rules exist; starts watching when they do
  // and stops when none are left; updates the settings page and the tray.
  void RulesChanged();
  // While the rules dialog picks "the program in front", the window in front
  // is watched even before the first rule exists.
  void SetPicking(bool picking);
  // Stops watching (the window closes).
  void Stop();
  bool RulesActive() const { return rules_active_.load(); }
  bool Watching() const;

  // Window thread: the handlers of kMsgWindowInFront and kMsgFollowState.
  void OnWindowInFront();
  void OnStateChanged();
  // Another program made `profile` active in this window's database.
  void FollowSelected(int profile);

  // The language text saying why the window in front cannot be known; 0 when
  // it can or nothing is watched. The settings page shows it while rules exist.
  int UnavailableTextId() const;
  // The window in front as last seen (for "add the program in front").
  std::optional<WindowIdentity> WindowInFront() const;
  const std::string& ProcRoot() const { return proc_root_; }

 private:
  DeviceMainDlg& window_;
  ActiveWindowSource* source_;
  const std::string proc_root_;
  std::atomic<bool> rules_active_{false};
  void StartOrStopWatching();

  bool watching_ = false;  // window thread only
  bool picking_ = false;   // window thread only
  bool unable_ = false;    // the source could not start: it is not tried again
  mutable std::mutex mutex_;
  std::optional<WindowIdentity> settled_;
  WindowWatch watch_ = WindowWatch::kAvailable;
};

}  // namespace tk410
