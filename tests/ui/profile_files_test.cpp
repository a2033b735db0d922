// The window's file actions: tasks queued after a profile import, the name
// the profile list shows in an export, and the macro list after an import.

#include "ui/profile_files.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "base/clock.h"
#include "base/text.h"
#include "device/device_manager.h"
#include "platform/fake_file_dialogs.h"
#include "plkui/combo_box.h"
#include "plkui/macro_list.h"
#include "sim/virtual_hid_bus.h"
#include "store/config_database.h"
#include "support/temp_dir.h"
#include "ui/device_main_dlg.h"

namespace tk410 {
namespace {

class ProfileFilesTest : public ::testing::Test {
 protected:
  ProfileFilesTest() {
    std::filesystem::create_directories(dir_.path() / "db");
    EXPECT_TRUE(db_.OpenForDevice(dir_.wide(), L"TK410"));
    db_.EnsureDefaultProfiles();
    window_.current_profile.store(1);
    window_.current_device_type.store(101);
    auto* combo = static_cast<PLKUI::MComboBox*>(
        window_.CreateControl(L"MComboBox", ctl::kProfileCombo, {}, L""));
    combo->AddItem(L"Office", 1);
    combo->SelectData(1);
    list_ = static_cast<PLKUI::MacroList*>(
        window_.CreateControl(L"MacroList", ctl::kMacroList, {}, L""));
  }

  std::string Read(const std::wstring& path) {
    std::ifstream in(ToUtf8(path), std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
  }

  testing::TempDir dir_;
  ConfigDatabase db_;
  ManualClock clock_{7000};
  DeviceManager devices_{std::make_shared<VirtualHidBus>(clock_), clock_};
  DeviceMainDlg window_{{&db_, &devices_, &clock_}};
  FakeFileDialogs dialogs_;
  PLKUI::MacroList* list_ = nullptr;
};

TEST_F(ProfileFilesTest, ProfileExportAndImportQueueTheFamilysTask) {
  const std::wstring path = dir_.wide() + L"p.xml";
  dialogs_.Answer(path);
  OnProfileFileMessage(window_, dialogs_, 2, 1);
  EXPECT_NE(Read(path).find("<profileinfo name=\"Office\">"), std::string::npos);
  EXPECT_TRUE(window_.tasks.Empty());

  dialogs_.Answer(path);
  OnProfileFileMessage(window_, dialogs_, 1, 0);
  EXPECT_EQ(window_.tasks.TryPop(), std::optional<int>(kTaskProfileSwitch));
  window_.current_device_type.store(205);
  dialogs_.Answer(path);
  ImportProfileFile(window_, dialogs_);
  EXPECT_EQ(window_.tasks.TryPop(), std::optional<int>(kTaskImportNordic));
  ImportProfileFile(window_, dialogs_);  // cancelled: nothing queued
  EXPECT_TRUE(window_.tasks.Empty());
}

TEST_F(ProfileFilesTest, MacroExportNeedsASelectionAndImportAppendsToTheList) {
  EXPECT_FALSE(ExportSelectedMacro(window_, dialogs_));
  const int id = db_.AddMacro(L"Combo");
  list_->AddString(L"Combo", id);
  list_->SetCurSel(0);
  dialogs_.Answer(dir_.wide());
  ASSERT_TRUE(ExportSelectedMacro(window_, dialogs_));
  const std::wstring file = dir_.wide() + L"Combo-7000.xml";
  ASSERT_TRUE(std::filesystem::exists(ToUtf8(file)));

  dialogs_.Answer(file);
  EXPECT_TRUE(ImportMacroToList(window_, dialogs_));
  ASSERT_EQ(list_->GetItemCount(), 2);
  EXPECT_EQ(list_->GetItemText(1), L"Combo");
  EXPECT_GT(list_->GetItemData(1), id);
  EXPECT_EQ(list_->GetCurSel(), 0);

  // A macro that cannot be stored gets no list entry (and no number 0).
  sqlite3* raw = nullptr;
  ASSERT_EQ(sqlite3_open(db_.GetPath().c_str(), &raw), SQLITE_OK);
  sqlite3_exec(raw, "DROP TABLE t_macro_data", nullptr, nullptr, nullptr);
  sqlite3_close(raw);
  dialogs_.Answer(file);
  EXPECT_TRUE(ImportMacroToList(window_, dialogs_));
  EXPECT_EQ(list_->GetItemCount(), 2);
  EXPECT_FALSE(ImportMacroToList(window_, dialogs_));  // cancelled
}

}  // namespace
}  // namespace tk410
