// The fuzz target of the filter language: any bytes as Filter text,
// prepared and evaluated against a small address table. Shared by the
// libFuzzer build and the corpus replay of the test suite.
#pragma once

#include <cstddef>
#include <cstdint>

namespace vesk {

// Aborts when the filter breaks one of its own rules; failures that the
// filter reports as EDatabaseError and the runtime's errors are expected.
void FuzzFilterText(const uint8_t* data, size_t size);

}  // namespace vesk
