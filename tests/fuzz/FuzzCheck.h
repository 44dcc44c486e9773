#pragma once

#include <cstdio>
#include <cstdlib>

// A crash is what libFuzzer reports; a broken promise of the reader is made
// into one.
#define FUZZ_CHECK(condition)                                                              \
  do {                                                                                     \
    if (!(condition)) {                                                                    \
      std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition); \
      std::abort();                                                                        \
    }                                                                                      \
  } while (0)
