#include <gtest/gtest.h>

#include "runtime/conversions.h"
#include "runtime/exceptions.h"

namespace vesk {
namespace {

int32_t Read(std::string_view text) {
  int32_t value = -12345;
  EXPECT_TRUE(TryStrToInt(text, value)) << text;
  return value;
}

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
  int32_t value = 99;
  for (std::string_view text : {"2147483648", "-2147483649", "99999999999999999999999", "$80000000",
                                "0xFFFFFFFF", "-0x80000001"}) {
    EXPECT_FALSE(TryStrToInt(text, value)) << text;
  }
  EXPECT_EQ(value, 99) << "a refused text leaves the value alone";
}

TEST(IntegerReader, RefusesEmptyAndStrayCharacters) {
  int32_t value = 0;
  for (std::string_view text : {"", "   ", "+", "-", "$", "x", "0x", "-$", "12a", "12 ", "1 2",
                                "- 5", "+-5", "--5", "1.0", "1,0", "$G", "0x-5", "5$", "$$5", "0xx5",
                                "1e3"}) {
    EXPECT_FALSE(TryStrToInt(text, value)) << '"' << text << '"';
  }
}

TEST(IntegerReader, StrToIntRaisesConvertError) {
  EXPECT_EQ(StrToInt("-$FF"), -255);
  try {
    StrToInt("12a");
    FAIL() << "no exception";
  } catch (const EConvertError& error) {
    EXPECT_EQ(error.Message(), "'12a' ist kein gültiger Integerwert");
  }
}

}  // namespace
}  // namespace vesk
