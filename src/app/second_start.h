#pragma once
// What a start that found the program already running tells its user. The
// running instance takes only "come to the front"; options that would change
// what a start does (a screenshot, a virtual mouse, another device type)
// cannot reach it, so such a start did not do what was asked and says so.

#include <string>
#include <vector>

namespace tk410 {

struct SecondStartReport {
  std::string message;  // one line for stderr, without the program's name
  int exit_code = 0;    // 0: the running window was brought forward and nothing else was asked
};

// `delivered`: the running instance took the activation request.
// `options_not_passed`: this start's options the running instance cannot take, as typed.
SecondStartReport DescribeSecondStart(bool delivered, const std::vector<std::string>& options_not_passed);

}  // namespace tk410
