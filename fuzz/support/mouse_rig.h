#pragma once
// A settings database in the scratch folder, a virtual mouse of one family on
// the virtual bus and a headless main window over both: what the profile and
// macro file targets store into and write to the mouse from. One per family
// for the whole run; Reset() puts the current profile back to its defaults
// between inputs, so an input finds the same state whatever ran before.

#include <cstddef>
#include <memory>

#include "base/clock.h"
#include "device/device_manager.h"
#include "platform/fake_text_injector.h"
#include "store/config_database.h"

namespace tk410 {
class DeviceMainDlg;
class VirtualHidBus;
}  // namespace tk410

namespace tk410::fuzz {

enum class Family { kWired, kNordic };

class MouseRig {
 public:
  explicit MouseRig(Family family);
  ~MouseRig();
  MouseRig(const MouseRig&) = delete;
  MouseRig& operator=(const MouseRig&) = delete;

  int DeviceType() const;
  ConfigDatabase& Db() { return db_; }
  // Profile 1 with its default values and buttons; no macros.
  void Reset();
  // Settings and buttons of the current profile to the mouse, as a write-all
  // does (macros too when `macros` is set).
  void WriteToMouse(bool macros);

 private:
  Family family_;
  ManualClock clock_;
  std::shared_ptr<VirtualHidBus> bus_;
  DeviceManager devices_;
  ConfigDatabase db_;
  FakeTextInjector injector_;
  std::unique_ptr<DeviceMainDlg> window_;
};

// The rig of the family an input of `size` bytes goes to (wired for even
// sizes, Nordic for odd ones), reset; both are made on first use.
MouseRig& RigForInput(size_t size);

}  // namespace tk410::fuzz
