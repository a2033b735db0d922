#include "app/second_start.h"

namespace tk410 {

namespace {

// A failed second start ends with the code of a start that could not go on.
constexpr int kSecondStartFailed = 1;

std::string Listed(const std::vector<std::string>& options) {
  std::string text;
  for (size_t i = 0; i < options.size(); ++i) {
    if (i > 0) text += i + 1 == options.size() ? " and " : ", ";
    text += options[i];
  }
  return text;
}

}  // namespace

SecondStartReport DescribeSecondStart(bool delivered, const std::vector<std::string>& options_not_passed) {
  SecondStartReport report;
  std::string text = delivered ? "already running; its window was brought to the front"
                               : "already running, but the running instance did not answer; nothing was done";
  if (!options_not_passed.empty()) {
    text += options_not_passed.size() == 1 ? "; " : "; the options ";
    text += Listed(options_not_passed) +
            (options_not_passed.size() == 1 ? " cannot be passed to it and was not carried out"
                                            : " cannot be passed to it and were not carried out");
  }
  report.message = text;
  report.exit_code = delivered && options_not_passed.empty() ? 0 : kSecondStartFailed;
  return report;
}

}  // namespace tk410
