// libFuzzer's entry into the filter fuzz target.
#include "fuzz/filter/filter_fuzz_entry.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  vesk::FuzzFilterText(data, size);
  return 0;
}
