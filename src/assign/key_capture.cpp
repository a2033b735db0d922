#include "assign/key_capture.h"

#include "assign/virtual_keys.h"
#include "base/text.h"
#include "base/trace.h"
#include "platform/raw_input_hub.h"
#include "plkui/window.h"

namespace tk410 {

namespace {

struct ButtonTransition {
  int flag;
  int mask;
  bool released;
};

// Tested in this order; the first flag set wins.
constexpr ButtonTransition kTransitions[] = {
    {kRawLeftDown, kMaskLeft, false},        {kRawMiddleDown, kMaskMiddle, false},
    {kRawRightDown, kMaskRight, false},      {kRawLeftUp, kMaskLeft, true},
    {kRawMiddleUp, kMaskMiddle, true},       {kRawRightUp, kMaskRight, true},
    {kRawButton4Down, kMaskBackward, false}, {kRawButton4Up, kMaskBackward, true},
    {kRawButton5Down, kMaskForward, false},  {kRawButton5Up, kMaskForward, true},
};

// The capture's own names; they win over every other name.
struct OwnName {
  int vk;
  const wchar_t* name;
};
constexpr OwnName kOwnNames[] = {
    {160, L"Shift"},   {161, L"RShift"},   {162, L"Ctrl"},        {163, L"RCtrl"},
    {164, L"Alt"},     {165, L"RAlt"},     {91, L"Windows"},      {92, L"RWindows"},
    {93, L"Application"}, {44, L"Print Screen"}, {19, L"Pause"}, {144, L"Num Lock"},
};

void DecodeMouse(const RawInputEvent& event, CapturedInput& input) {
  input.kind = kCapturedMouse;
  input.text.clear();
  input.released = 0;
  for (const ButtonTransition& t : kTransitions) {
    if ((event.button_flags & t.flag) == 0) continue;
    input.code = t.mask;
    input.released = t.released ? 1 : 0;
    input.text = MouseMaskName(t.mask);
    return;
  }
  // A move or a wheel turn: no name, and the code stays as the caller had it.
}

}  // namespace

int LeftHandVirtualKey(int vk) {
  switch (vk) {
    case 16: return 160;
    case 17: return 162;
    case 18: return 164;
    default: return vk;
  }
}

std::wstring CapturedKeyName(int vk, const std::wstring& label, const std::wstring& system_name) {
  for (const OwnName& own : kOwnNames)
    if (own.vk == vk) return own.name;
  if (!label.empty()) return label;
  std::wstring name = VirtualKeyName(vk);
  if (!name.empty()) return name;
  if (!system_name.empty()) return system_name;
  return L"Key " + FormatInt(vk);
}

std::wstring MouseMaskName(int mask) {
  switch (mask) {
    case kMaskLeft: return L"LB";
    case kMaskRight: return L"RB";
    case kMaskMiddle: return L"MB";
    case kMaskBackward: return L"Backward";
    case kMaskForward: return L"Forward";
    default: return L"";
  }
}

void KeyCapture::StartCapture(PLKUI::MWindow& window) {
  held_.clear();
  if (!hub_) return;
  PLKUI::MWindow* target = &window;
  auto post = [target](intptr_t handle) { target->PostMessage(kMsgRawInput, 0, handle); };
  if (!hub_->Register(target, post)) hub_->Register(target, post);
}

void KeyCapture::DecodeRawInput(intptr_t handle, CapturedInput& input) {
  RawInputEvent event;
  if (!hub_ || !hub_->GetRawInputData(handle, event)) return;
  input.has_cursor = event.has_cursor;
  input.cursor_x = event.cursor_x;
  input.cursor_y = event.cursor_y;

  if (event.device == RawDevice::Mouse) {
    DecodeMouse(event, input);
    return;
  }
  if (event.device != RawDevice::Keyboard) {
    input.kind = kCapturedOther;
    return;
  }

  const bool released = event.message == kWmKeyUp || event.message == kWmSysKeyUp;
  input.released = released ? 1 : 0;
  input.code = LeftHandVirtualKey(event.virtual_key);
  input.text = CapturedKeyName(input.code, event.label, event.system_name);
  input.kind = kCapturedKeyboard;
  Trace(kTraceDebug, "input_text: %s \n", ToUtf8(input.text).c_str());

  if (!released) {
    if (held_.count(input.code) != 0) input.kind = kCapturedIgnore;
    held_[input.code] = true;
  } else {
    held_.erase(input.code);
  }
}

}  // namespace tk410
