#include <gtest/gtest.h>

#include "reader_checks.h"
#include "runtime/conversions.h"

namespace vesk {
namespace {

int32_t Read(std::string_view text) { return Accepted<int32_t>(TryStrToInt, text); }

TEST(IntegerReader, SignsAndLeadingBlanks) {
  EXPECT_EQ(Read("123"), 123);
  EXPECT_EQ(Read("   42"), 42);
  EXPECT_EQ(Read("+7"), 7);
  EXPECT_EQ(Read("-7"), -7);
  EXPECT_EQ(Read("  -0"), 0);
  EXPECT_EQ(Read("007"), 7);
}

TEST(IntegerReader, HexadecimalForms) {
  EXPECT_EQ(Read("$F"), 15);
  EXPECT_EQ(Read("$1f"), 31);
  EXPECT_EQ(Read("x10"), 16);
  EXPECT_EQ(Read("X10"), 16);
  EXPECT_EQ(Read("0x10"), 16);
  EXPECT_EQ(Read("0XaB"), 171);
  EXPECT_EQ(Read("-$10"), -16);
  EXPECT_EQ(Read(" +0x7FFFFFFF"), 2147483647);
  EXPECT_EQ(Read("-0x80000000"), INT32_MIN);
}

TEST(IntegerReader, RangeEdges) {
  EXPECT_EQ(Read("2147483647"), 2147483647);
  EXPECT_EQ(Read("-2147483648"), INT32_MIN);
  ExpectRefused<int32_t>(
      TryStrToInt, {"2147483648", "-2147483649", "99999999999999999999999", "$80000000", "0xFFFFFFFF", "-0x80000001"});
}

TEST(IntegerReader, RefusesEmptyAndStrayCharacters) {
  ExpectRefused<int32_t>(TryStrToInt, {"",    "   ", "+",   "-",   "$",   "x",  "0x",   "-$", "12a", "12 ",  "1 2",
                                       "- 5", "+-5", "--5", "1.0", "1,0", "$G", "0x-5", "5$", "$$5", "0xx5", "1e3"});
}

TEST(IntegerReader, StrToIntRaisesConvertError) {
  EXPECT_EQ(StrToInt("-$FF"), -255);
  ExpectConvertError([] { StrToInt("12a"); }, "'12a' ist kein gültiger Integerwert");
}

}  // namespace
}  // namespace vesk
