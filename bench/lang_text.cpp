// Cost of looking up interface texts: a cached lookup (one stat of the file
// per call) and a full parse of a shipped language file. A text refresh of the
// main window looks up about 200 texts.

#include <benchmark/benchmark.h>

#include "app/app_paths.h"
#include "app/ini_file.h"
#include "app/language_files.h"

namespace {

using namespace tk410;

void BM_GetLangTextCached(benchmark::State& state) {
  LanguageFileTexts texts(LanguageFileTexts::DefaultDirectory(), static_cast<int>(state.range(0)));
  int id = 0;
  constexpr int kIds[] = {5, 57, 121, 351, 531, 654, 800, 901};
  for (auto _ : state) benchmark::DoNotOptimize(texts.GetLangText(kIds[id++ & 7]));
}
BENCHMARK(BM_GetLangTextCached)->Arg(kLanguageEnglish)->Arg(kLanguageChinese);

void BM_ParseLanguageFile(benchmark::State& state) {
  std::string bytes;
  ReadFileBytes(LanguageFileTexts::DefaultDirectory() + std::to_wstring(state.range(0)) + L".lan",
                bytes);
  for (auto _ : state) benchmark::DoNotOptimize(IniFile::Parse(bytes));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes.size()));
}
BENCHMARK(BM_ParseLanguageFile)->Arg(kLanguageEnglish)->Arg(kLanguageChinese);

}  // namespace

BENCHMARK_MAIN();
