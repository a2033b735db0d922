// The window frame as a user meets it: the Bluetooth banner's place, and the
// texts a language change puts back.

#include "app/language_files.h"
#include "device/product.h"
#include "device/scripted_device.h"
#include "ui/window_trial/trial_fixture.h"

namespace tk410 {
namespace {

// The banner stands where the page puts it (350 wide, 200 to 280 from the
// top at 1121 x 780) from the moment it is shown, clear of the title bar.
TEST_F(TrialWindowTest, BluetoothBannerHasItsPlaceAtOnce) {
  bus->Attach(std::make_shared<testing::ScriptedDevice>(0x1209, 0x0006, testing::kKeyboardDescriptor,
                                                        kHidBusBluetooth));
  Start();
  ASSERT_EQ(devices.ActiveMode(), 2);
  EXPECT_EQ(window->GetMessageText(), L"T56");
  EXPECT_TRUE(window->GetMessageRect() == (PLKUI::MRect{385, 200, 735, 280}));
  window->UISize(PLKUI::MRect{0, 0, 2242, 1560});
  EXPECT_TRUE(window->GetMessageRect() == (PLKUI::MRect{770, 400, 1470, 560}));
}

// In both shipped languages, after a change: the title still says the mouse
// is virtual (in the new language) and the pointer help has no empty line.
TEST_F(TrialWindowTest, LanguageChangeKeepsTheTitleAndTheHelpWhole) {
  LanguageFileTexts shipped(LanguageFileTexts::DefaultDirectory(), kLanguageEnglish);
  ASSERT_FALSE(shipped.GetLangText(903).empty());
  texts = &shipped;
  Start(/*virtual_mouse=*/true);
  EXPECT_EQ(Caption(ctl::kTitle), std::wstring(kProductName) + L" \u2014 " + shipped.GetLangText(903));
  for (int language : {kLanguageChinese, kLanguageEnglish}) {
    SCOPED_TRACE(language);
    shipped.SetCurrentLanguage(language);
    window->RefreshTexts();
    EXPECT_EQ(Caption(ctl::kTitle), std::wstring(kProductName) + L" \u2014 " + shipped.GetLangText(903));
    const std::wstring help = Caption(ctl::kPointerHelp);
    ASSERT_FALSE(help.empty());
    EXPECT_EQ(help.find(shipped.GetLangText(639)), 0u);
    EXPECT_NE(help.back(), L'\n');
    EXPECT_EQ(help.find(L"\n\n"), std::wstring::npos);
  }
}

TEST_F(TrialWindowTest, RealMouseTitleIsTheProductName) {
  Start();
  window->RefreshTexts();
  EXPECT_EQ(Caption(ctl::kTitle), kProductName);
}

}  // namespace
}  // namespace tk410
