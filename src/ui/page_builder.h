#pragma once
// PageBuilder: creates the controls of one page of the main window inside its
// tab layout, records each control's design rectangle (at 1121 x 780) for
// UISize, and gives the dark theme's decoration in one place.

#include <string>

#include "plkui/controls.h"
#include "ui/device_main_dlg.h"

namespace tk410 {

// Left, top, width, height → MRect.
inline PLKUI::MRect Box(int x, int y, int w, int h) { return PLKUI::MRect{x, y, x + w, y + h}; }

// Theme colours (0x00BBGGRR).
namespace theme {
constexpr uint32_t kPanel = 0x2B2622;   // card background
constexpr uint32_t kText = 0xE8E6E4;
constexpr uint32_t kMuted = 0x9C9590;
constexpr uint32_t kAccent = 0x2E8BFF;  // orange accent
}  // namespace theme

class PageBuilder {
 public:
  // `layout` may be null for frame controls.
  PageBuilder(DeviceMainDlg& window, PLKUI::MTabLayout* layout) : window_(window), layout_(layout) {}

  // An interactive control (MDialog::CreateControl); nullptr for an unknown class.
  template <class T>
  T* Control(const wchar_t* class_name, int id, const PLKUI::MRect& rect,
             const std::wstring& caption = {}) {
    return dynamic_cast<T*>(Add(window_.CreateControl(class_name, id, rect, caption, 1, 1), rect));
  }
  // Decoration and text (MDialog::CreateArea).
  template <class T>
  T* Area(const wchar_t* class_name, int id, const PLKUI::MRect& rect,
          const std::wstring& caption = {}) {
    return dynamic_cast<T*>(Add(window_.CreateArea(class_name, id, rect, caption, 1, 1), rect));
  }
  // A text with the language text `text_id` (0: empty) and a font size (0: default).
  PLKUI::MText* Text(int id, const PLKUI::MRect& rect, int text_id, int size = 0,
                     bool centred = false);
  // A section heading: larger, in the theme's text colour.
  PLKUI::MText* Heading(int id, const PLKUI::MRect& rect, int text_id);
  // A rounded card behind a group of controls.
  void Card(const PLKUI::MRect& rect);
  PLKUI::MButton* Button(int id, const PLKUI::MRect& rect, int text_id);
  PLKUI::CRadioButton* Radio(int id, const PLKUI::MRect& rect, const std::wstring& caption,
                             const wchar_t* group, bool checked = false);

  std::wstring Lang(int text_id) const { return window_.LangText(text_id); }
  DeviceMainDlg& Window() { return window_; }

 private:
  PLKUI::MControl* Add(PLKUI::MControl* control, const PLKUI::MRect& rect);

  DeviceMainDlg& window_;
  PLKUI::MTabLayout* layout_;
};

// The page builders InitUI calls after the frame and the home page.
void BuildKeyPage(DeviceMainDlg& window, PLKUI::MTabLayout* layout);
void BuildPerformancePage(DeviceMainDlg& window, PLKUI::MTabLayout* layout);
void BuildMacroPage(DeviceMainDlg& window, PLKUI::MTabLayout* layout);
void BuildSettingsPage(DeviceMainDlg& window, PLKUI::MTabLayout* layout);

}  // namespace tk410
