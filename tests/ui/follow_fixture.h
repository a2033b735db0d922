#pragma once
// The main window with per-program profiles over real parts (window_fixture.h)
// plus a fake window-in-front source, a fake tray, a /proc of the test's own
// with three programs (a native game, a Proton game with its Steam id, a
// browser) and the frame trace of the virtual wired mouse.

#include <sstream>
#include <string>
#include <vector>

#include "platform/fake_active_window.h"
#include "rules/app_rule.h"
#include "support/fake_proc.h"
#include "ui/profile_follower.h"
#include "ui/window_fixture.h"

namespace tk410::testing {

class FakeTray : public BackgroundPresence {
 public:
  bool Available() const override { return available; }
  void Update(const PresenceState& state) override { states.push_back(state); }
  bool available = true;
  std::vector<PresenceState> states;
};

// Payload offsets of the wired frames traced as "W 00 <64 payload bytes>".
constexpr size_t kCommandAt = 1;
constexpr size_t kProfileIndexAt = 7;
constexpr int kSettingsWrite = 0x0F;

class FollowTest : public WindowFixture {
 protected:
  void SetUp() override {
    proc_.Add(4242, "/usr/games/racer", FakeProc::Zeros({"/usr/games/racer"}));
    proc_.Add(4343, "/w/wine64-preloader", FakeProc::Zeros({"C:\\Games\\Shooter.exe"}), FakeProc::Zeros({"SteamAppId=570"}));
    proc_.Add(4444, "/usr/bin/firefox", FakeProc::Zeros({"firefox"}));
    active_window_ = &source_;
    presence_ = &tray_;
    proc_root_ = proc_.Root();
    mouse_ = AttachMouse();
    MakeWindow();
    const PLKUI::MRect r{0, 0, 10, 10};
    window_->CreateControl(L"MComboBox", ctl::kProfileCombo, r, L"");
    window_->CreateControl(L"MText", ctl::kRulesStatus, r, L"");
    for (int id : {1010, 1011, 801, 811, 821}) texts_.SetText(id, L"text " + std::to_wstring(id));
    StartUp();
    RunQueue();
    devices_.SetFrameTrace([this](const std::string& line) { frames_.push_back(line); });
  }

  // The window stops watching through the fake source when it goes, so it
  // goes before the fakes this class holds.
  void TearDown() override { window_.reset(); }

  int AddRule(int type, const std::wstring& text, int profile) {
    const int id = db_.AddAppRule(AppRuleRecord{0, type, text, profile});
    window_->Follower().RulesChanged();
    return id;
  }
  // The window of a process comes to the front and stays; the window thread takes the report.
  void Bring(uint32_t window, int pid, const std::string& wm_class = "X") {
    source_.Bring(WindowIdentity{window, pid, wm_class, wm_class});
    Pump();
  }
  // The profile indexes of the settings writes the mouse received.
  std::vector<int> SettingsWrites() const {
    std::vector<int> indexes;
    for (const std::string& line : frames_) {
      std::istringstream in(line);
      std::string tag;
      std::vector<int> bytes;
      in >> tag;
      for (std::string hex; in >> hex;) bytes.push_back(std::stoi(hex, nullptr, 16));
      if (tag == "W" && bytes.size() == 65 && bytes[1 + kCommandAt] == kSettingsWrite) {
        indexes.push_back(bytes[1 + kProfileIndexAt]);
      }
    }
    return indexes;
  }
  int ComboProfile() const { return window_->Control<PLKUI::MComboBox>(ctl::kProfileCombo)->GetCurData(); }
  std::wstring StatusText() const { return window_->Control<PLKUI::MControlFont>(ctl::kRulesStatus)->GetTitle(); }

  FakeProc proc_;
  FakeActiveWindow source_;
  FakeTray tray_;
  std::shared_ptr<VirtualWiredMouse> mouse_;
  std::vector<std::string> frames_;
};

}  // namespace tk410::testing
