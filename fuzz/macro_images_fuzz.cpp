// Macro images of both families from any macro list: the steps hold any
// numbers (a database filled by older imports holds any int). Every list
// builds an image within its size that reads back as what was packed.

#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "device/nordic_layout.h"
#include "device/wired_layout.h"
#include "macro/macro_steps.h"
#include "nordic/nordic_macro_image.h"
#include "support/check.h"
#include "sync/wired_macro_image.h"

namespace {

using namespace tk410;

int AnyInt(FuzzedDataProvider& in, int low, int high) {
  return in.ConsumeBool() ? in.ConsumeIntegralInRange<int>(low, high) : in.ConsumeIntegral<int>();
}

MacroEvent AnyStep(FuzzedDataProvider& in) {
  MacroEvent step;
  step.type = AnyInt(in, 0, 13);
  step.value = AnyInt(in, -1, 300);
  step.delay_time = in.ConsumeIntegral<int>();
  if (in.ConsumeBool()) step.desc = in.ConsumeBool() ? L"Scroll Up" : L"Scroll Down";
  return step;
}

void Wired(const std::vector<std::vector<MacroEvent>>& macros) {
  const WiredMacroImageResult r = BuildWiredMacroImage(macros);
  TK410_FUZZ_CHECK(r.length >= WiredMacroImage::kTableSize && r.length <= WiredMacroImage::kSize);
  TK410_FUZZ_CHECK(r.macros_given == static_cast<int>(macros.size()));
  TK410_FUZZ_CHECK(r.macros_packed <= r.macros_given && r.macros_packed <= WiredMacroImage::kMaxMacros);
  TK410_FUZZ_CHECK((r.status == WiredMacroImageStatus::kComplete) == (r.macros_packed == r.macros_given));
  // Read back as the mouse plays it: one list of entries per packed macro,
  // each as long as the macro's entry count.
  const auto decoded = DecodeWiredMacroImage(r.image.data(), r.length);
  TK410_FUZZ_CHECK(decoded.size() == static_cast<size_t>(r.macros_packed));
  for (size_t i = 0; i < decoded.size(); ++i) {
    TK410_FUZZ_CHECK(decoded[i].size() == WiredMacroEntryCount(macros[i]));
  }
  for (int i = r.macros_packed; i < WiredMacroImage::kMaxMacros; ++i) {
    TK410_FUZZ_CHECK(WiredMacroImage::TableEntry(r.image.data(), i) == 0);
  }
}

void Nordic(const MacroRecord& macro, const std::vector<MacroEvent>& steps) {
  RecordList<MacroEvent> list;
  for (const MacroEvent& s : steps) list.push_back(std::make_unique<MacroEvent>(s));
  const NordicMacroBuild build = BuildNordicMacroImage(macro, list);
  const NordicMacroImage& image = build.image;
  TK410_FUZZ_CHECK(image.length <= NordicMacroImage::kSize);
  TK410_FUZZ_CHECK(image.StepCount() <= NordicMacroImage::kMaxSteps);
  TK410_FUZZ_CHECK(image.length == NordicMacroImage::kStepsAt + NordicMacroImage::kStepSize * image.StepCount());
  // The chunks carry the image's bytes in order and nothing past its length.
  const auto requests = image.Requests(nordic::kTargetBehind, 3);
  const size_t l = image.length;
  TK410_FUZZ_CHECK(requests.size() == (l <= NordicMacroImage::kChunkData ? 1 : (l + 57) / 58));
  size_t at = 0;
  for (const NordicFrame& f : requests) {
    const size_t carried = (f[nordic::kCodeAt] & 0x7F) - 2;
    TK410_FUZZ_CHECK(carried <= NordicMacroImage::kChunkData);
    for (size_t k = 0; k < carried; ++k) {
      TK410_FUZZ_CHECK(f[NordicMacroImage::kChunkDataAt + k] == image.bytes[at + k]);
    }
    at += carried;
  }
  TK410_FUZZ_CHECK(at == l);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  std::vector<std::vector<MacroEvent>> macros;
  const int count = in.ConsumeIntegralInRange<int>(0, kMaxMacros + 4);
  for (int i = 0; i < count && in.remaining_bytes() > 0; ++i) {
    MacroRecord macro;
    macro.play_type = AnyInt(in, 0, 3);
    macro.play_times = AnyInt(in, 0, 256);
    macro.delay_type = AnyInt(in, 0, 3);
    macro.delay_time = AnyInt(in, 0, 20000);
    std::vector<MacroEvent> steps;
    const int n = in.ConsumeIntegralInRange<int>(0, NordicMacroImage::kMaxSteps + 10);
    for (int k = 0; k < n && in.remaining_bytes() > 0; ++k) steps.push_back(AnyStep(in));
    Nordic(macro, steps);
    macros.push_back(std::move(steps));
  }
  Wired(macros);
  return 0;
}
