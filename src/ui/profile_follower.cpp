#include "ui/profile_follower.h"

#include <unistd.h>

#include <filesystem>

#include "app/instance_request.h"
#include "base/trace.h"
#include "plkui/controls.h"
#include "rules/rule_match.h"
#include "store/config_database.h"
#include "sync/sync_task.h"
#include "ui/background_presence.h"
#include "ui/device_main_dlg.h"
#include "ui/page_handlers.h"

namespace tk410 {

namespace {

int TextIdOf(WindowWatch watch) {
  switch (watch) {
    case WindowWatch::kAvailable: return 0;
    case WindowWatch::kNoDisplay: return 1010;
    case WindowWatch::kNoActiveWindow: return 1011;
    case WindowWatch::kDisplayClosed: return 1012;
    case WindowWatch::kNotBuilt: return 1013;
  }
  return 0;
}

bool SameFile(const std::string& a, const std::string& b) {
  std::error_code error;
  return a == b || std::filesystem::equivalent(a, b, error);
}

}  // namespace

void FollowProfile(DeviceMainDlg& w, int profile) {
  SelectProfile(w, profile);
  // The list shows it now, also while no mouse takes the worker's tasks.
  w.RefreshProfileList();
  if (!w.IsNordicFamily()) w.Enqueue(kTaskWriteSettingsQuiet);
}

void HandleInstanceRequest(DeviceMainDlg& w, const std::string& line) {
  const InstanceRequest request = ParseInstanceRequest(line);
  if (request.kind == InstanceRequest::kNone || !SameFile(request.database, w.Db().GetPath())) return;
  if (request.kind == InstanceRequest::kProfile) w.Follower().FollowSelected(request.profile);
  if (request.kind == InstanceRequest::kRules) w.Follower().RulesChanged();
}

ProfileFollower::ProfileFollower(DeviceMainDlg& window, ActiveWindowSource* source, std::string proc_root)
    : window_(window), source_(source), proc_root_(std::move(proc_root)) {}

ProfileFollower::~ProfileFollower() { Stop(); }

void ProfileFollower::Stop() {
  if (watching_ && source_) source_->Stop();
  watching_ = false;
}

bool ProfileFollower::Watching() const { return watching_; }

void ProfileFollower::RulesChanged() {
  rules_active_.store(window_.Db().HasAppRules());
  StartOrStopWatching();
  OnStateChanged();
  UpdatePresence(window_);
}

void ProfileFollower::SetPicking(bool picking) {
  picking_ = picking;
  StartOrStopWatching();
}

void ProfileFollower::StartOrStopWatching() {
  const bool wanted = rules_active_.load() || picking_;
  if (wanted && !watching_ && !unable_ && source_) {
    ActiveWindowListener listener;
    listener.settled = [this](const WindowIdentity& identity) {
      {
        std::lock_guard<std::mutex> lock(mutex_);
        settled_ = identity;
      }
      window_.PostMessage(kMsgWindowInFront);
    };
    listener.availability = [this](WindowWatch watch) {
      {
        std::lock_guard<std::mutex> lock(mutex_);
        watch_ = watch;
      }
      Trace(kTraceInfo, "profiles for programs: %s", WindowWatchText(watch));
      window_.PostMessage(kMsgFollowState);
    };
    // A source that cannot start has said why; it stays idle.
    watching_ = source_->Start(std::move(listener));
    unable_ = !watching_;
  } else if (!wanted && watching_) {
    Stop();
    std::lock_guard<std::mutex> lock(mutex_);
    settled_.reset();
    watch_ = WindowWatch::kAvailable;
  }
}

void ProfileFollower::OnStateChanged() {
  if (auto* status = window_.Control<PLKUI::MControlFont>(ctl::kRulesStatus)) {
    const int text_id = rules_active_.load() ? UnavailableTextId() : 0;
    status->SetTitle(text_id != 0 ? window_.LangText(text_id) : std::wstring());
  }
}

int ProfileFollower::UnavailableTextId() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return TextIdOf(watch_);
}

std::optional<WindowIdentity> ProfileFollower::WindowInFront() const {
  return watching_ && source_ ? source_->Current() : std::nullopt;
}

void ProfileFollower::OnWindowInFront() {
  std::optional<WindowIdentity> identity;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    identity.swap(settled_);
  }
  // This program's own window leaves the profile the user is working on.
  if (!identity || identity->window == 0 || !rules_active_.load() || identity->pid == ::getpid()) return;
  ConfigDatabase& db = window_.Db();
  RecordList<AppRuleRecord> rules;
  db.LoadAppRules(rules);
  const ProgramIdentity program = ReadProgramIdentity(proc_root_, identity->pid);
  const RuleDecision decision = DecideProfile(rules, *identity, program);
  Trace(kTraceInfo, "window in front: pid %d class %s, program %s: rule %d, profile %d", identity->pid,
        identity->wm_class.c_str(), ProgramName(program).c_str(), decision.rule_id, decision.profile);
  if (decision.profile <= 0 || decision.profile == window_.current_profile.load()) return;
  if (!db.HasProfile(decision.profile)) return;
  FollowProfile(window_, decision.profile);
}

void ProfileFollower::FollowSelected(int profile) {
  if (profile == window_.current_profile.load() || !window_.Db().HasProfile(profile)) return;
  FollowProfile(window_, profile);
}

}  // namespace tk410
