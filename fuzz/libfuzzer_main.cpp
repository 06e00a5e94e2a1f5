// libFuzzer's entry into a fuzz target.
#include "fuzz/fuzz_entry.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  vesk::FuzzOneInput(data, size);
  return 0;
}
