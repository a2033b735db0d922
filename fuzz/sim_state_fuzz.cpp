// The virtual mice's saved-state files (--sim-state, tk410-uhid-mouse
// --state): the wired mouse, the Nordic mouse and the Nordic receiver read
// any text. A text that loads is saved again as a text that loads to the
// same state.

#include <cstddef>
#include <cstdint>
#include <string>

#include "sim/nordic_firmware.h"
#include "sim/nordic_receiver_firmware.h"
#include "sim/wired_firmware.h"
#include "support/check.h"

namespace {

template <typename Firmware>
void RoundTrip(Firmware& firmware, const std::string& text) {
  if (!firmware.Load(text)) return;
  const std::string saved = firmware.Save();
  TK410_FUZZ_CHECK(firmware.Load(saved));
  TK410_FUZZ_CHECK(firmware.Save() == saved);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  tk410::WiredFirmware wired;
  RoundTrip(wired, text);
  tk410::NordicFirmware nordic;
  RoundTrip(nordic, text);
  tk410::NordicReceiverFirmware receiver(true);
  RoundTrip(receiver, text);
  return 0;
}
