// Questions about all the bytes of a text, asked eight bytes at a time:
// the exchange readers ask them of every value of a file.
#pragma once

#include <cstdint>
#include <cstring>
#include <string_view>

namespace vesk {

// Some byte of text is below limit (at most 0x80).
inline bool AnyByteBelow(std::string_view text, unsigned char limit) {
  constexpr uint64_t kOnes = 0x0101010101010101ULL, kHighs = 0x8080808080808080ULL;
  size_t i = 0;
  for (; i + 8 <= text.size(); i += 8) {
    uint64_t word = 0;
    std::memcpy(&word, text.data() + i, 8);
    // A byte below limit borrows into its high bit, which it did not have.
    if (((word - kOnes * limit) & ~word & kHighs) != 0) return true;
  }
  for (; i < text.size(); ++i)
    if (static_cast<unsigned char>(text[i]) < limit) return true;
  return false;
}

// Every byte of text is ASCII.
inline bool AllAscii(std::string_view text) {
  uint64_t bits = 0;
  size_t i = 0;
  for (; i + 8 <= text.size(); i += 8) {
    uint64_t word = 0;
    std::memcpy(&word, text.data() + i, 8);
    bits |= word;
  }
  for (; i < text.size(); ++i) bits |= static_cast<unsigned char>(text[i]);
  return (bits & 0x8080808080808080ULL) == 0;
}

}  // namespace vesk
