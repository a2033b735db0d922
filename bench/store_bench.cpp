// Timing of the two hottest store operations on a realistic database: five
// profiles with their 25 configuration rows and 11 button rows each, in a
// temporary directory. Run with --benchmark_repetitions=N to get medians.

#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <string>

#include "base/text.h"
#include "store/config_database.h"

namespace {

using tk410::ConfigDatabase;

class StoreFile {
 public:
  StoreFile() {
    char pattern[] = "/tmp/tk410-bench-XXXXXX";
    if (const char* made = mkdtemp(pattern)) dir_ = made;
    std::filesystem::create_directories(dir_ / "db");
    db_.OpenForDevice(tk410::FromUtf8(dir_.string()) + L"/", L"TK410");
    db_.EnsureDefaultProfiles();
    for (int profile = 1; profile <= 5; ++profile) {
      for (int key_code = 1; key_code <= 11; ++key_code) {
        tk410::KeyMacroRecord record;
        record.profile = profile;
        record.key_code = key_code;
        record.layout_desc = L"Ctrl+Shift+A";
        record.macro_type = 3;
        record.macro_value = 0x04;
        record.macro_value2 = 0x03;
        record.macro_desc = L"Ctrl+Shift+A";
        db_.SaveKeyRecord(record);
      }
    }
  }
  ~StoreFile() {
    db_.Close();
    std::error_code ec;
    std::filesystem::remove_all(dir_, ec);
  }
  ConfigDatabase& db() { return db_; }

 private:
  std::filesystem::path dir_;
  ConfigDatabase db_;
};

void BM_SetConfigValue(benchmark::State& state) {
  StoreFile file;
  int i = 0;
  for (auto _ : state) {
    const bool ok = file.db().SetConfigValue(3, L"dpi_group2_value", tk410::FormatInt(100 + i++ % 100));
    benchmark::DoNotOptimize(ok);
  }
}
BENCHMARK(BM_SetConfigValue)->Repetitions(9)->ReportAggregatesOnly(true);

void BM_LoadKeyRecords(benchmark::State& state) {
  StoreFile file;
  tk410::RecordList<tk410::KeyMacroRecord> keys;
  for (auto _ : state) {
    const int count = file.db().LoadKeyRecords(3, 0, keys);
    benchmark::DoNotOptimize(count);
  }
  state.counters["rows"] = static_cast<double>(keys.size());
}
BENCHMARK(BM_LoadKeyRecords)->Repetitions(9)->ReportAggregatesOnly(true);

}  // namespace

BENCHMARK_MAIN();
