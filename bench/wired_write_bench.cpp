// Writes a full configuration (keys of five profiles, 32 macros filling the
// whole 4224-byte image, settings, DPI stage, report rate) to the virtual
// wired mouse whose replies arrive 1 ms after each request, on the real
// clock. Prints the wall time and the number of exchanges beside the floor
// of 2 ms per exchange.

#include <benchmark/benchmark.h>

#include <atomic>
#include <filesystem>
#include <memory>

#include "assign/button_function.h"
#include "base/clock.h"
#include "device/device_manager.h"
#include "macro/macro_steps.h"
#include "sim/virtual_hid_bus.h"
#include "sim/virtual_wired_mouse.h"
#include "store/config_database.h"
#include "sync/wired_routines.h"
#include "ui/device_main_dlg.h"

namespace tk410 {
namespace {

void FillDatabase(ConfigDatabase& db) {
  db.EnsureDefaultProfiles();
  for (int profile = 1; profile <= 5; ++profile) {
    for (int key = 1; key <= 11; ++key) {
      KeyMacroRecord r;
      r.profile = profile;
      r.key_code = key;
      r.macro_type = kKindKeyboard;
      r.macro_value = 0x04 + key;
      db.SaveKeyRecord(r);
    }
  }
  // 1040 entries: 16 macros of 33 steps and 16 of 32.
  for (int m = 0; m < 32; ++m) {
    const int id = db.AddMacro(L"m");
    std::vector<MacroEvent> steps;
    const int count = m < 16 ? 33 : 32;
    for (int i = 0; i < count; ++i) {
      const bool down = i % 2 == 0;
      steps.push_back(MacroEvent{0, id, static_cast<int>(down ? MacroEventType::KeyDown : MacroEventType::KeyUp), i,
                                 0x41 + (i / 2) % 26, i, L""});
    }
    db.AddMacroEvents(steps);
  }
}

void BM_WiredWriteAll(benchmark::State& state) {
  Clock& clock = SystemClockInstance();
  auto bus = std::make_shared<VirtualHidBus>(clock);
  auto mouse = std::make_shared<VirtualWiredMouse>();
  mouse->SetReplyLatencyMs(1);
  bus->Attach(mouse);
  DeviceManager devices(bus, clock);
  devices.SetCurrentDeviceType(101);
  devices.AddSupported(0x1209, 0x0001, L"", 101, 0);
  devices.EnumerateDevice();
  devices.SetOpened(true);
  std::atomic<long> writes{0};
  devices.SetFrameTrace([&](const std::string& line) {
    if (line.rfind("W ", 0) == 0) ++writes;
  });

  const auto dir = std::filesystem::temp_directory_path() / "tk410_wired_bench";
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir / "db");
  ConfigDatabase db;
  db.OpenForDevice(dir.wstring() + L"/", L"TK410");
  FillDatabase(db);
  DeviceMainDlg window(DeviceMainServices{&db, &devices, &clock});
  WiredRoutines routines(window);

  long per_run = 0;
  size_t image = 0;
  for (auto _ : state) {
    writes = 0;
    image = routines.MacroDownload().image_length;
    routines.KeyDownload();
    routines.WriteSettings();
    routines.WriteDpiStage();
    routines.WriteReportRate();
    per_run = writes.load();
  }
  state.counters["exchanges"] = static_cast<double>(per_run);
  state.counters["floor_ms"] = static_cast<double>(per_run * 2);
  state.counters["image_bytes"] = static_cast<double>(image);
  std::filesystem::remove_all(dir);
}

BENCHMARK(BM_WiredWriteAll)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

}  // namespace
}  // namespace tk410

BENCHMARK_MAIN();
