// Parse and build times of XmlDocument on large and hostile inputs. Every
// figure should grow linearly with the size argument (building, which shifts
// the positions behind each insertion, grows with the square of the count).

#include <benchmark/benchmark.h>

#include <string>

#include "xml/xml_document.h"

namespace {

using tk410::XmlDocument;

std::wstring Repeat(const std::wstring& piece, int64_t count) {
  std::wstring out;
  out.reserve(piece.size() * static_cast<size_t>(count));
  for (int64_t i = 0; i < count; ++i) out += piece;
  return out;
}

void Parse(benchmark::State& state, const std::wstring& text) {
  for (auto _ : state) {
    XmlDocument doc;
    benchmark::DoNotOptimize(doc.SetDocText(text));
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size() * sizeof(wchar_t)));
}

void BM_ParseMacroFile(benchmark::State& state) {
  const std::wstring text = L"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<macros>\r\n" +
                            Repeat(L"<event type=\"1\" value=\"65\" delay=\"10\"/>\r\n", state.range(0)) +
                            L"</macros>\r\n";
  Parse(state, text);
}

void BM_ParseUnclosedNesting(benchmark::State& state) { Parse(state, Repeat(L"<a>", state.range(0))); }

void BM_ParseLoneEndTags(benchmark::State& state) {
  Parse(state, Repeat(L"<a>", state.range(0)) + Repeat(L"</b>", state.range(0)));
}

void BM_ParseMismatchedNesting(benchmark::State& state) {
  Parse(state, L"<r>" + Repeat(L"<a><b>", state.range(0)) + Repeat(L"</a>", state.range(0)) + L"</r>");
}

void BM_ParseBrokenTags(benchmark::State& state) { Parse(state, Repeat(L"<a x=\"1\" <", state.range(0))); }

void BM_BuildDocument(benchmark::State& state) {
  for (auto _ : state) {
    XmlDocument doc;
    doc.SetDocText(L"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n");
    doc.AddElement(L"macros");
    doc.EnterElement();
    for (int64_t i = 0; i < state.range(0); ++i) {
      doc.AddElement(L"event");
      doc.SetAttribute(L"type", L"1");
      doc.SetAttribute(L"value", L"65");
    }
    benchmark::DoNotOptimize(doc.GetDocText().size());
  }
}

}  // namespace

BENCHMARK(BM_ParseMacroFile)->Range(1 << 10, 1 << 16);
BENCHMARK(BM_ParseUnclosedNesting)->Range(1 << 10, 1 << 16);
BENCHMARK(BM_ParseLoneEndTags)->Range(1 << 10, 1 << 16);
BENCHMARK(BM_ParseMismatchedNesting)->Range(1 << 10, 1 << 16);
BENCHMARK(BM_ParseBrokenTags)->Range(1 << 10, 1 << 16);
BENCHMARK(BM_BuildDocument)->Range(1 << 8, 1 << 12);

BENCHMARK_MAIN();
