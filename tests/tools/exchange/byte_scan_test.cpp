// The questions asked of all the bytes of a value agree with asking each
// byte, wherever in the word the answer lies and whatever stands beside it.
#include "tools/exchange/byte_scan.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>

namespace vesk {
namespace {

TEST(ByteScan, AgreesWithEachByteAsked) {
  std::mt19937 random(5);
  // Mostly plain text, now and then a byte near a limit or a high one.
  const unsigned char kBytes[] = {'a', 'Z', ' ', '~', 0x1F, 0x20, 0x09, 0x0A, 0x7F, 0x80, 0xC3, 0xFF, 0x00, 0x21};
  for (int round = 0; round < 20000; ++round) {
    std::string text(std::uniform_int_distribution<size_t>(0, 19)(random), 'a');
    for (char& c : text)
      if (std::bernoulli_distribution(0.15)(random)) c = static_cast<char>(kBytes[random() % std::size(kBytes)]);
    auto below = [&](unsigned char limit) {
      return std::ranges::any_of(text, [&](char c) { return static_cast<unsigned char>(c) < limit; });
    };
    for (unsigned char limit : {0x01, 0x0A, 0x20, 0x7F, 0x80})
      ASSERT_EQ(AnyByteBelow(text, limit), below(limit)) << text;
    ASSERT_EQ(AllAscii(text), !std::ranges::any_of(text, [](char c) { return static_cast<unsigned char>(c) >= 0x80; }));
  }
}

}  // namespace
}  // namespace vesk
