#pragma once
// The fuzz targets' own checks: a broken expectation ends the run as a crash, which the
// fuzzer reports with the input that caused it.
#include <cstdio>
#include <cstdlib>

inline void Require(bool condition, const char* what) {
  if (condition)
    return;
  std::fprintf(stderr, "broken: %s\n", what);
  std::abort();
}
