#include "plkui/control_factory.h"

#include <functional>
#include <map>

#include "plkui/controls.h"

namespace PLKUI {

namespace {

template <class T>
std::unique_ptr<MControl> Make() {
  return std::make_unique<T>();
}

using Maker = std::unique_ptr<MControl> (*)();

const std::map<std::wstring, Maker>& Makers() {
  static const std::map<std::wstring, Maker> makers = {
      {L"MText", &Make<MText>},
      {L"MButton", &Make<MButton>},
      {L"CImageButton", &Make<CImageButton>},
      {L"CIconButton", &Make<CIconButton>},
      {L"CTextButton", &Make<CTextButton>},
      {L"CHelpButton", &Make<CHelpButton>},
      {L"MComboBox", &Make<MComboBox>},
      {L"MEdit", &Make<MEdit>},
      {L"NumberEdit", &Make<NumberEdit>},
      {L"NumberEdit2", &Make<NumberEdit2>},
      {L"MSlider", &Make<MSlider>},
      {L"DPISlider", &Make<DPISlider>},
      {L"DPIControl", &Make<DPIControl>},
      {L"ColorButtonEx", &Make<ColorButtonEx>},
      {L"CRadioButton", &Make<CRadioButton>},
      {L"CCheckButton", &Make<CCheckButton>},
      {L"CSwitchButton", &Make<CSwitchButton>},
      {L"MTabCtrl", &Make<MTabCtrl>},
      {L"MTabLayout", &Make<MTabLayout>},
      {L"MouseCtrl", &Make<MouseCtrl>},
      {L"MacroList", &Make<MacroList>},
      {L"CRecordList", &Make<CRecordList>},
      {L"EmojiControl", &Make<EmojiControl>},
      {L"BatteryCtrl", &Make<BatteryCtrl>},
      {L"CDeviceState", &Make<CDeviceState>},
      {L"MPicture", &Make<MPicture>},
      {L"CGifPicture", &Make<CGifPicture>},
      {L"CArea", &Make<CArea>},
      {L"CRoundArea", &Make<CRoundArea>},
  };
  return makers;
}

}  // namespace

std::unique_ptr<MControl> CreateControlByClassName(const std::wstring& class_name) {
  auto it = Makers().find(class_name);
  return it == Makers().end() ? nullptr : it->second();
}

}  // namespace PLKUI
