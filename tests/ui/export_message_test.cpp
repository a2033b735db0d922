// An export that could not be written tells the user so, naming the file;
// one that was written shows nothing.

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/fake_file_dialogs.h"
#include "plkui/macro_list.h"
#include "ui/control_ids.h"
#include "ui/pages_fixture.h"

namespace tk410 {
namespace {

namespace fs = std::filesystem;

class ExportMessageTest : public WindowTest {
 protected:
  ExportMessageTest() {
    window->SetFileDialogs(&dialogs);
    texts.SetText(940, L"Not written: %s");
  }

  // Answers the next message box and returns its title and text.
  void ExpectBox(std::wstring* title, std::wstring* message) {
    runtime.AnswerNextModal(1, [title, message](PLKUI::MWindow& w) {
      auto& box = dynamic_cast<PLKUI::MDialog&>(w);
      *title = box.GetControlAs<PLKUI::MText>(31)->GetTitle();
      *message = box.GetControlAs<PLKUI::MText>(32)->GetTitle();
    });
  }

  FakeFileDialogs dialogs;
};

TEST_F(ExportMessageTest, FailedProfileAndMacroExportsShowTheFile) {
  // Profile export onto a folder of the chosen name.
  const fs::path taken = dir.path() / "taken.xml";
  fs::create_directories(taken);
  dialogs.Answer(taken.wstring());
  std::wstring title, message;
  ExpectBox(&title, &message);
  Click(ctl::kExportProfile);
  EXPECT_EQ(title, L"T114");
  EXPECT_EQ(message, L"Not written: " + taken.wstring());
  EXPECT_EQ(runtime.PendingAnswers(), 0);

  // Macro export where the file name it picks is a folder.
  const int id = db.AddMacro(L"M");
  auto* list = C<PLKUI::MacroList>(ctl::kMacroList);
  list->AddString(L"M", id);
  list->SetCurSel(list->GetItemCount() - 1);
  const fs::path out = dir.path() / "out";
  const fs::path macro_file = out / ("M-" + std::to_string(clock.TickMs()) + ".xml");
  fs::create_directories(macro_file);
  dialogs.Answer(out.wstring());
  title.clear();
  message.clear();
  ExpectBox(&title, &message);
  Click(ctl::kMacroExport);
  EXPECT_EQ(title, L"T114");
  EXPECT_EQ(message, L"Not written: " + macro_file.wstring());
  EXPECT_EQ(runtime.PendingAnswers(), 0);

  // Written exports, and a cancelled one, show no box.
  const size_t boxes = runtime.ModalLog().size();
  dialogs.Answer((dir.path() / "ok.xml").wstring());
  Click(ctl::kExportProfile);
  clock.AdvanceMs(1);
  dialogs.Answer(out.wstring());
  Click(ctl::kMacroExport);
  Click(ctl::kExportProfile);  // cancelled
  EXPECT_EQ(runtime.ModalLog().size(), boxes);
  EXPECT_TRUE(fs::is_regular_file(dir.path() / "ok.xml"));
}

}  // namespace
}  // namespace tk410
