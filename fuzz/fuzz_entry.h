// The entry every fuzz target defines: one input of any bytes. The libFuzzer
// build (libfuzzer_main.cpp) and the corpus replay of the test suite
// (corpus_replay.cpp) both call it, so a target is written once.
#pragma once

#include <cstddef>
#include <cstdint>

namespace vesk {

// Aborts when the code under test breaks one of its own rules; the errors
// it reports by exception or return value are expected.
void FuzzOneInput(const uint8_t* data, size_t size);

// Reports the rule and aborts, which both drivers count as a finding.
[[noreturn]] void FuzzRuleBroken(const char* rule);

}  // namespace vesk
