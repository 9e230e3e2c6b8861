// The fuzz targets' checks of what must hold beyond "no crash". A broken property prints what
// broke and aborts, so libFuzzer keeps the input as a crash (assert() is compiled out in the
// fuzz build).
#pragma once

#include <cstdio>
#include <cstdlib>

#define QV_FUZZ_CHECK(condition)                                                       \
  do {                                                                                 \
    if (!(condition)) {                                                                \
      std::fprintf(stderr, "%s:%d: broken: %s\n", __FILE__, __LINE__, #condition);   \
      std::abort();                                                                    \
    }                                                                                  \
  } while (false)
