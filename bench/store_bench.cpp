// Timing of the hottest store operations and of profile imports on a
// realistic database: five profiles with their 25 configuration rows, 11
// button rows and three lighting rows each, in a temporary directory on the
// disk that holds $TMPDIR (default /tmp), so that writes reach a real file
// system. Run with --benchmark_repetitions=N to get medians.
//
// BM_SetConfigValue: one committed update, what every slider or switch of the
// window costs. BM_ImportProfile: reading and applying an exported profile.
// BM_ImportKeyItems/N: a profile file with N button items that name the
// mouse's 11 buttons over and over (applied); BM_ImportForeignKeyCodes/N: N
// items with N different key codes (refused once read);
// BM_StoreDistinctKeyRows/N: those N rows stored all the same. Each should
// grow linearly with N (the fitted complexity is printed).

#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "base/text.h"
#include "store/config_database.h"
#include "xml/profile_file.h"

namespace {

using tk410::ConfigDatabase;

std::filesystem::path TempRoot() {
  const char* tmp = std::getenv("TMPDIR");
  return tmp && *tmp ? tmp : "/tmp";
}

class StoreFile {
 public:
  StoreFile() {
    std::string pattern = (TempRoot() / "tk410-bench-XXXXXX").string();
    if (const char* made = mkdtemp(pattern.data())) dir_ = made;
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
    // The program never inserts lighting rows; files made elsewhere carry them.
    sqlite3* raw = nullptr;
    if (sqlite3_open(db_.GetPath().c_str(), &raw) == SQLITE_OK) {
      sqlite3_exec(raw,
                   "INSERT INTO t_light_data(profile, name, mode, brightness, speed, direction, "
                   "colorful, colorindex, color_value, config_func, reserved, status) "
                   "SELECT profile, 'mode', m.mode, 3, 2, 0, 1, 4, 16711680, 0, 0, m.mode = 1 "
                   "FROM t_profile_data, (SELECT 1 AS mode UNION SELECT 2 UNION SELECT 3) m",
                   nullptr, nullptr, nullptr);
    }
    sqlite3_close(raw);
  }
  ~StoreFile() {
    db_.Close();
    std::error_code ec;
    std::filesystem::remove_all(dir_, ec);
  }
  ConfigDatabase& db() { return db_; }
  std::wstring Path(const char* name) const { return tk410::FromUtf8((dir_ / name).string()); }
  std::wstring Write(const char* name, const std::string& text) const {
    std::ofstream(dir_ / name, std::ios::binary) << text;
    return Path(name);
  }

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

// Reads `path`, checks it and applies it to profile 2 of a wired mouse, as an
// import does after its dialog.
void Import(ConfigDatabase& db, const std::wstring& path) {
  const tk410::ProfileImportReport report = tk410::ImportProfileFromFile(db, path, 2, 101);
  benchmark::DoNotOptimize(report);
}

void BM_ImportProfile(benchmark::State& state) {
  StoreFile file;
  const std::wstring path = file.Path("profile.xml");
  tk410::WriteProfileFile(file.db(), 3, 3, L"Profile 3", path);
  for (auto _ : state) Import(file.db(), path);
}
BENCHMARK(BM_ImportProfile)->Repetitions(9)->ReportAggregatesOnly(true)->Unit(benchmark::kMicrosecond);

std::string KeyItemsFile(int64_t count, bool foreign_codes) {
  std::string text = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<profile>\r\n"
                     "<profileinfo name=\"many\">\r\n<keyitems>\r\n";
  for (int64_t i = 0; i < count; ++i) {
    const int64_t key_code = foreign_codes ? i + 1 : 1 + i % 11;
    text += "<item key_code=\"" + std::to_string(key_code) +
            "\" macro_type=\"22\" macro_value=\"" + std::to_string(4 + i % 26) +
            "\" macro_value2=\"1\" macro_value3=\"0\" macro_desc=\"Ctrl + A\"/>\r\n";
  }
  return text + "</keyitems>\r\n</profileinfo>\r\n</profile>\r\n";
}

void ImportItems(benchmark::State& state, bool foreign_codes) {
  StoreFile file;
  const std::wstring path = file.Write("items.xml", KeyItemsFile(state.range(0), foreign_codes));
  for (auto _ : state) Import(file.db(), path);
  state.SetComplexityN(state.range(0));
}

void BM_ImportKeyItems(benchmark::State& state) { ImportItems(state, false); }
BENCHMARK(BM_ImportKeyItems)
    ->Arg(1000)->Arg(10000)->Arg(100000)
    ->Unit(benchmark::kMillisecond)->Complexity(benchmark::oN);

void BM_ImportForeignKeyCodes(benchmark::State& state) { ImportItems(state, true); }
BENCHMARK(BM_ImportForeignKeyCodes)
    ->Arg(1000)->Arg(10000)->Arg(100000)
    ->Unit(benchmark::kMillisecond)->Complexity(benchmark::oN);

// What the store alone does with N different button rows (the import's check
// bypassed): one transaction, each replaced row found through the index.
void BM_StoreDistinctKeyRows(benchmark::State& state) {
  StoreFile file;
  const std::wstring path = file.Write("items.xml", KeyItemsFile(state.range(0), true));
  const auto content = tk410::ReadProfileFile(path);
  for (auto _ : state) benchmark::DoNotOptimize(tk410::ApplyProfileContent(file.db(), 2, *content));
  state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_StoreDistinctKeyRows)
    ->Arg(1000)->Arg(10000)->Arg(100000)
    ->Unit(benchmark::kMillisecond)->Complexity(benchmark::oN);

}  // namespace

BENCHMARK_MAIN();
