#pragma once
// A property a fuzz target checks: when it does not hold, the input is a
// finding. The message goes to stderr and the program aborts, which libFuzzer
// reports as a crash and saves the input.

#include <cstdio>
#include <cstdlib>

#define TK410_FUZZ_CHECK(condition)                                                  \
  do {                                                                              \
    if (!(condition)) {                                                             \
      std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition); \
      std::abort();                                                                 \
    }                                                                               \
  } while (0)
