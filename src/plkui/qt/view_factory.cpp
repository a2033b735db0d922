#include "plkui/qt/basic_views.h"
#include "plkui/qt/check_views.h"
#include "plkui/qt/input_views.h"
#include "plkui/qt/list_views.h"
#include "plkui/tab.h"

namespace PLKUI::qt {

ControlView* CreateControlView(MControl& control, QWidget* parent) {
  if (auto* c = dynamic_cast<DPIControl*>(&control)) return new DpiView(*c, parent);
  if (auto* c = dynamic_cast<MCheckControl*>(&control)) return new CheckView(*c, parent);
  if (auto* c = dynamic_cast<MComboBox*>(&control)) return new ComboView(*c, parent);
  if (auto* c = dynamic_cast<MEdit*>(&control)) return new EditView(*c, parent);
  if (auto* c = dynamic_cast<MSlider*>(&control)) return new SliderView(*c, parent);
  if (auto* c = dynamic_cast<MTabCtrl*>(&control)) return new TabView(*c, parent);
  if (auto* c = dynamic_cast<MouseCtrl*>(&control)) return new MouseView(*c, parent);
  if (auto* c = dynamic_cast<MacroList*>(&control)) return new MacroListView(*c, parent);
  if (auto* c = dynamic_cast<CRecordList*>(&control)) return new RecordListView(*c, parent);
  if (auto* c = dynamic_cast<EmojiControl*>(&control)) return new EmojiView(*c, parent);
  if (auto* c = dynamic_cast<BatteryCtrl*>(&control)) return new BatteryView(*c, parent);
  if (auto* c = dynamic_cast<CDeviceState*>(&control)) return new DeviceStateView(*c, parent);
  if (auto* c = dynamic_cast<CGifPicture*>(&control)) return new GifView(*c, parent);
  if (auto* c = dynamic_cast<MPicture*>(&control)) return new PictureView(*c, parent);
  if (auto* c = dynamic_cast<MButton*>(&control)) return new ButtonView(*c, parent);
  if (auto* c = dynamic_cast<MText*>(&control)) return new TextView(*c, parent);
  if (auto* c = dynamic_cast<MControlFont*>(&control)) return new AreaView(*c, parent);
  return nullptr;
}

}  // namespace PLKUI::qt
