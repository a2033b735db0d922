#include "support/trace_fixture.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace tk410::testing {

std::string CompareWithTraceFixture(const std::vector<std::string>& lines, const std::string& name) {
  const std::string path = std::string(TK410_TEST_DATA_DIR) + "/trace/" + name;
  const char* record = std::getenv("TK410_RECORD_FIXTURES");
  if (record != nullptr && std::string(record) == "1") {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    for (const auto& line : lines) out << line << '\n';
    return out ? std::string() : "cannot write " + path;
  }
  std::ifstream in(path, std::ios::binary);
  if (!in) return "no fixture " + path;
  std::vector<std::string> expected;
  for (std::string line; std::getline(in, line);) expected.push_back(line);
  const size_t common = std::min(lines.size(), expected.size());
  for (size_t i = 0; i < common; ++i) {
    if (lines[i] != expected[i]) {
      std::ostringstream why;
      why << name << " line " << i + 1 << ":\n  expected " << expected[i] << "\n  actual   " << lines[i];
      return why.str();
    }
  }
  if (lines.size() != expected.size()) {
    std::ostringstream why;
    why << name << ": " << lines.size() << " lines, the fixture has " << expected.size();
    return why.str();
  }
  return std::string();
}

}  // namespace tk410::testing
