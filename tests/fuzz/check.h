#pragma once

#include <cstdlib>

// Ends the run when a property that a fuzzer checks does not hold; libFuzzer
// then reports the crash with the input that caused it.
inline void Check(bool condition) {
  if (!condition) std::abort();
}
