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
#include "ui/pages_fixture.h"

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

// The box the next modal run shows: its title and text.
struct ShownBox {
  std::wstring title;
  std::wstring text;
};

void ExpectBox(PLKUI::HeadlessRuntime& runtime, ShownBox& shown) {
  runtime.AnswerNextModal(1, [&shown](PLKUI::MWindow& w) {
    auto& box = dynamic_cast<PLKUI::MDialog&>(w);
    shown.title = box.GetControlAs<PLKUI::MText>(31)->GetTitle();
    shown.text = box.GetControlAs<PLKUI::MText>(32)->GetTitle();
  });
}

TEST_F(WindowTest, ProfileImportSaysWhatWasRefusedAndStaysSilentWhenCancelled) {
  texts.SetText(921, L"No such buttons: %s.");
  KeyMacroRecord key;
  key.profile = 1;
  key.key_code = 4;
  key.macro_type = 15;
  key.macro_value = 1;
  ASSERT_GT(db.SaveKeyRecord(key), 0);
  FakeFileDialogs dialogs;
  auto item = [](int code) {
    return "<item key_code=\"" + std::to_string(code) + "\" macro_type=\"16\" macro_value=\"1\"/>";
  };
  std::string items;
  for (int code : {2, 12, 0, 12}) items += item(code);
  dialogs.Answer(FromUtf8(dir.Write("foreign.xml", "<profile><profileinfo><keyitems>" + items +
                                                       "</keyitems></profileinfo></profile>")
                              .string()));
  ShownBox shown;
  ExpectBox(runtime, shown);
  ImportProfileFile(*window, dialogs);
  EXPECT_EQ(shown.title, L"T920");
  EXPECT_EQ(shown.text, L"No such buttons: 0, 12.");
  EXPECT_TRUE(QueuedTasks().empty());
  KeyMacroRecord kept;
  ASSERT_TRUE(db.GetKeyRecord(1, 0, 4, kept));
  EXPECT_EQ(kept.macro_type, 15);

  // A database that refuses the rows: said too, nothing changed.
  dialogs.Answer(FromUtf8(dir.Write("good.xml", "<profile><profileinfo><keyitems>" +
                                                    item(2) +
                                                    "</keyitems></profileinfo></profile>")
                              .string()));
  {
    sqlite3* raw = nullptr;
    ASSERT_EQ(sqlite3_open(db.GetPath().c_str(), &raw), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(raw,
                           "CREATE TRIGGER no_keys BEFORE INSERT ON t_key_macro_data "
                           "BEGIN SELECT RAISE(ABORT, 'no'); END",
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
    sqlite3_close(raw);
  }
  ExpectBox(runtime, shown);
  ImportProfileFile(*window, dialogs);
  EXPECT_EQ(shown.title, L"T920");
  EXPECT_EQ(shown.text, L"T922");
  EXPECT_TRUE(QueuedTasks().empty());
  ASSERT_TRUE(db.GetKeyRecord(1, 0, 4, kept));

  // A cancelled dialog shows nothing.
  const size_t boxes = runtime.ModalLog().size();
  ImportProfileFile(*window, dialogs);
  EXPECT_EQ(runtime.ModalLog().size(), boxes);
  EXPECT_EQ(runtime.PendingAnswers(), 0);
}

}  // namespace
}  // namespace tk410
