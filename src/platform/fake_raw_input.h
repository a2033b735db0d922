#pragma once
// ScriptedRawInput: a raw input source for tests. Each call publishes one
// event into the hub it was started with, the way a keyboard or mouse would.

#include "platform/raw_input_hub.h"

namespace tk410 {

class ScriptedRawInput : public RawInputSource {
 public:
  bool Start(RawInputHub& hub) override;
  void Stop() override { hub_ = nullptr; }
  bool IsGlobal() const override { return true; }

  // A key press (message 256) or release (257) of a virtual-key code.
  intptr_t KeyDown(int virtual_key, const std::wstring& system_name = L"");
  intptr_t KeyUp(int virtual_key, const std::wstring& system_name = L"");
  // Any keyboard message (256, 257, 260, 261).
  intptr_t Key(unsigned message, int virtual_key, const std::wstring& system_name = L"");
  // A press and release.
  void KeyTap(int virtual_key);
  // Button transition flags, optionally at a screen position.
  intptr_t Mouse(int button_flags);
  intptr_t MouseAt(int button_flags, int x, int y);
  intptr_t Wheel(int delta);
  intptr_t OtherDevice();
  intptr_t Publish(const RawInputEvent& event);

 private:
  RawInputHub* hub_ = nullptr;
};

}  // namespace tk410
