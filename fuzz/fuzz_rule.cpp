#include <cstdio>
#include <cstdlib>

#include "fuzz/fuzz_entry.h"

namespace vesk {

void FuzzRuleBroken(const char* rule) {
  std::fprintf(stderr, "rule broken: %s\n", rule);
  std::abort();
}

}  // namespace vesk
