// The window frame (title bar, tab strip, status), the home page, and the
// layout of every control: InitUI builds, UISize scales the design
// rectangles (1121 x 780) to the client area.

#include <algorithm>

#include "base/text.h"
#include "device/device_manager.h"
#include "device/product.h"
#include "ui/page_builder.h"

namespace tk410 {

using PLKUI::MRect;

namespace {

constexpr int kDesignWidth = 1121;
constexpr int kDesignHeight = 780;
// The page area right of the tab rail and below the title bar.
constexpr MRect kPageArea{112, 64, 1105, 736};
// The report-rate row on the DPI page.
constexpr int kRateRowLeft = 136;
constexpr int kRateRowRight = 1081;
constexpr int kRateRowTop = 352;
constexpr int kRateButtonHeight = 38;
constexpr int kRateGap = 10;
// The row is shared by the shown buttons, none wider than four would be, so a
// lone button keeps a button's width.
constexpr int kRateButtonMaxWidth = (kRateRowRight - kRateRowLeft - 3 * kRateGap) / 4;

struct TabPage {
  int page_id;
  int text_id;
  const wchar_t* icon;
  int layout_id;
};
constexpr TabPage kTabPages[] = {
    {1, 71, L"icon\\tab_home.png", ctl::kLayoutHome},
    {2, 72, L"icon\\tab_key.png", ctl::kLayoutKeys},
    {3, 73, L"icon\\tab_dpi.png", ctl::kLayoutDpi},
    {4, 74, L"icon\\tab_macro.png", ctl::kLayoutMacro},
    {6, 76, L"icon\\tab_set.png", ctl::kLayoutSettings},
};

MRect Scale(const MRect& r, double sx, double sy) {
  auto x = [sx](int v) { return static_cast<int>(v * sx + 0.5); };
  auto y = [sy](int v) { return static_cast<int>(v * sy + 0.5); };
  return MRect{x(r.left), y(r.top), x(r.right), y(r.bottom)};
}

PLKUI::CImageButton* SystemButton(PageBuilder& b, int id, int x, const wchar_t* image,
                                  int tooltip) {
  auto* button = b.Control<PLKUI::CImageButton>(L"CImageButton", id, Box(x, 14, 28, 28));
  if (button) {
    button->SetImage(image);
    button->SetTooltip(b.Lang(tooltip));
  }
  return button;
}

void BuildFrame(DeviceMainDlg& w, PageBuilder& b) {
  if (auto* bg = b.Area<PLKUI::MPicture>(L"MPicture", ctl::kBackground, Box(0, 0, kDesignWidth, kDesignHeight)))
    bg->SetImage(L"background.png");
  if (auto* bg2 = b.Area<PLKUI::MPicture>(L"MPicture", ctl::kBackground2, Box(0, 0, kDesignWidth, kDesignHeight)))
    bg2->SetVisible(false);  // shown on every page but the home page
  b.Area<PLKUI::CArea>(L"CArea", ctl::kTitleArea, Box(0, 0, kDesignWidth, 56));
  if (auto* logo = b.Area<PLKUI::MPicture>(L"MPicture", ctl::kLogo, Box(24, 14, 110, 28)))
    logo->SetImage(L"logo\\logo.png");
  if (auto* title = b.Area<PLKUI::MText>(L"MText", ctl::kTitle, Box(170, 0, 460, 56), w.WindowTitleText())) {
    title->SetFontWidth(18);
    title->SetAlignment(PLKUI::kAlignCenter | PLKUI::kAlignVCenter);
  }
  SystemButton(b, ctl::kClose, 1069, L"sysbtn_close.png", 5);
  SystemButton(b, ctl::kMaximize, 1035, L"sysbtn_maximize.png", 7);
  SystemButton(b, ctl::kMinimize, 1001, L"sysbtn_min.png", 6);
  if (auto* battery = b.Area<PLKUI::BatteryCtrl>(L"BatteryCtrl", ctl::kBattery, Box(900, 18, 80, 20))) {
    battery->SetImage(L"icon\\icon_battery_bkg.png");
    battery->SetImages(L"icon\\icon_battery_bkg.png", L"icon\\icon_batteryvalue.png",
                       L"icon\\icon_charge.png");
  }
  if (auto* state = b.Area<PLKUI::CDeviceState>(L"CDeviceState", ctl::kDeviceState, Box(640, 14, 250, 28),
                                                b.Lang(50))) {
    state->SetImage(L"img_state.png");
    state->SetFontWidth(14);
    state->SetAlignment(PLKUI::kAlignRight | PLKUI::kAlignVCenter);
  }
  if (auto* version = b.Area<PLKUI::MText>(L"MText", ctl::kProgramVersion, Box(24, 744, 200, 24), L"1.2.0.1")) {
    version->SetTextColor(theme::kMuted);
    version->SetFontWidth(12);
  }
  if (auto* maker = b.Area<PLKUI::MText>(L"MText", ctl::kMakerLine, Box(805, 744, 292, 24),
                                         L"TK410 configurator for Linux")) {
    maker->SetTextColor(theme::kMuted);
    maker->SetFontWidth(12);
    maker->SetAlignment(PLKUI::kAlignRight | PLKUI::kAlignVCenter);
  }
  b.Control<PLKUI::CTextButton>(L"CTextButton", ctl::kLogoLink, Box(24, 14, 110, 28));

  auto* tabs = b.Control<PLKUI::MTabCtrl>(L"MTabCtrl", ctl::kTabs, Box(24, 96, 64, 5 * 72));
  if (tabs) tabs->SetItemSize(60, 60);
  for (int id = ctl::kLayoutKeys; id <= ctl::kLayoutHome; ++id)
    b.Area<PLKUI::MTabLayout>(L"MTabLayout", id, kPageArea);
  if (auto* unused = w.Control<PLKUI::MControl>(ctl::kLayoutUnused)) unused->SetVisible(false);
  if (tabs) {
    for (const TabPage& page : kTabPages)
      tabs->AddItem(w.LangText(page.text_id), page.icon, page.page_id,
                    w.Control<PLKUI::MTabLayout>(page.layout_id));
    tabs->SetSelectItem(0);
  }
}

void BuildHomePage(DeviceMainDlg& w) {
  PageBuilder b(w, w.Control<PLKUI::MTabLayout>(ctl::kLayoutHome));
  if (auto* mouse = b.Area<PLKUI::MPicture>(L"MPicture", ctl::kHomeMouse, Box(400, 110, 420, 400)))
    mouse->SetImage(L"device\\img_mouse.png");
  if (auto* panel = b.Area<PLKUI::MPicture>(L"MPicture", ctl::kHomePanel, Box(290, 530, 640, 156)))
    panel->SetImage(L"img_area3.png");
  b.Text(ctl::kHomeStatus, Box(310, 544, 600, 40), 57, 20, true);
  // The second line may carry advice with a command to type (access to the
  // mouse): room for several lines below the first, and the user can select
  // and copy it.
  if (auto* advice = b.Text(ctl::kHomeStatus2, Box(310, 590, 600, 84), 0, 15)) {
    advice->SetAlignment(PLKUI::kAlignCenter);
    advice->SetSelectable(true);
  }
}

}  // namespace

// ---------------------------------------------------------------- PageBuilder

PLKUI::MControl* PageBuilder::Add(PLKUI::MControl* control, const MRect& rect) {
  if (!control) return nullptr;
  window_.SetDesignRect(control->GetId(), rect);
  if (layout_) layout_->AddControl(control);
  return control;
}

PLKUI::MText* PageBuilder::Text(int id, const MRect& rect, int text_id, int size, bool centred) {
  auto* text = Area<PLKUI::MText>(L"MText", id, rect, text_id ? Lang(text_id) : std::wstring());
  if (!text) return nullptr;
  if (size) text->SetFontWidth(size);
  if (centred) text->SetAlignment(PLKUI::kAlignCenter | PLKUI::kAlignVCenter);
  return text;
}

PLKUI::MText* PageBuilder::Heading(int id, const MRect& rect, int text_id) {
  auto* text = Text(id, rect, text_id, 15);
  if (text) text->SetTextColor(theme::kText);
  return text;
}

void PageBuilder::Card(const MRect& rect) {
  int id = ctl::kFirstDecoration + static_cast<int>(window_.GetControls().size());
  if (auto* card = Area<PLKUI::CRoundArea>(L"CRoundArea", id, rect)) {
    card->SetBkColor(theme::kPanel);
    card->SetRadius(10);
  }
}

PLKUI::MButton* PageBuilder::Button(int id, const MRect& rect, int text_id) {
  auto* button = Control<PLKUI::MButton>(L"MButton", id, rect, Lang(text_id));
  if (button) {
    button->SetImage(L"img_button.png");
    button->SetAlignment(PLKUI::kAlignCenter | PLKUI::kAlignVCenter);
  }
  return button;
}

PLKUI::CRadioButton* PageBuilder::Radio(int id, const MRect& rect, const std::wstring& caption,
                                        const wchar_t* group, bool checked) {
  auto* radio = Control<PLKUI::CRadioButton>(L"CRadioButton", id, rect, caption);
  if (radio) {
    radio->SetGroupName(group);
    if (checked) radio->SetCheck(1);
  }
  return radio;
}

// ---------------------------------------------------------------- window

void DeviceMainDlg::SetDesignRect(int id, const MRect& rect) {
  std::lock_guard<std::mutex> lock(design_mutex_);
  design_rects_[id] = rect;
}

void DeviceMainDlg::InitUI() {
  PageBuilder frame(*this, nullptr);
  BuildFrame(*this, frame);
  BuildHomePage(*this);
  BuildKeyPage(*this, Control<PLKUI::MTabLayout>(ctl::kLayoutKeys));
  BuildPerformancePage(*this, Control<PLKUI::MTabLayout>(ctl::kLayoutDpi));
  BuildMacroPage(*this, Control<PLKUI::MTabLayout>(ctl::kLayoutMacro));
  BuildSettingsPage(*this, Control<PLKUI::MTabLayout>(ctl::kLayoutSettings));
  ArrangeRateButtons();
}

void DeviceMainDlg::UISize(const MRect& client) {
  if (client.Width() <= 0 || client.Height() <= 0) return;
  const double sx = static_cast<double>(client.Width()) / kDesignWidth;
  const double sy = static_cast<double>(client.Height()) / kDesignHeight;
  std::map<int, MRect> rects;
  {
    std::lock_guard<std::mutex> lock(design_mutex_);
    rects = design_rects_;
  }
  for (const auto& [id, rect] : rects)
    if (auto* control = GetControl(id)) control->SetRect(Scale(rect, sx, sy));

  // A Bluetooth connection carries no configuration: say so over the pages.
  if (Devices().ActiveMode() == 2) {
    ShowBluetoothBanner(client);
  } else {
    SetMessage(L"");
  }
}

void DeviceMainDlg::ShowBluetoothBanner(const MRect& client) {
  const MRect area = client.Width() > 0 && client.Height() > 0 ? client : MRect{0, 0, kDesignWidth, kDesignHeight};
  const double sx = static_cast<double>(area.Width()) / kDesignWidth;
  const double sy = static_cast<double>(area.Height()) / kDesignHeight;
  // 350 wide, centred, 200 to 280 from the top: below the title bar.
  SetMessage(LangText(56), Scale(MRect{(kDesignWidth - 350) / 2, 200, (kDesignWidth + 350) / 2, 280}, sx, sy));
}

void DeviceMainDlg::ArrangeRateButtons() {
  std::vector<int> shown;
  for (int id = ctl::kFirstRate; id <= ctl::kLastRate; ++id) {
    auto* button = GetControl(id);
    if (button && button->IsVisible()) shown.push_back(id);
  }
  if (shown.empty()) return;
  const int count = static_cast<int>(shown.size());
  const int width =
      std::min(kRateButtonMaxWidth, (kRateRowRight - kRateRowLeft - kRateGap * (count - 1)) / count);
  for (int i = 0; i < count; ++i) {
    int left = kRateRowLeft + i * (width + kRateGap);
    SetDesignRect(shown[i], Box(left, kRateRowTop, width, kRateButtonHeight));
  }
  MRect client = GetClientRect();
  if (client.Width() <= 0) client = MRect{0, 0, kDesignWidth, kDesignHeight};
  const double sx = static_cast<double>(client.Width()) / kDesignWidth;
  const double sy = static_cast<double>(client.Height()) / kDesignHeight;
  std::lock_guard<std::mutex> lock(design_mutex_);
  for (int id : shown)
    if (auto* button = GetControl(id)) button->SetRect(Scale(design_rects_[id], sx, sy));
}

}  // namespace tk410
