#include <gtest/gtest.h>

#include <cmath>

#include "reader_checks.h"
#include "runtime/conversions.h"
#include "runtime_fixture.h"

namespace vesk {
namespace {

using FloatReader = RuntimeTest;
using FloatWriter = RuntimeTest;

double Read(std::string_view text) { return Accepted<double>(TryStrToFloat, text); }

void ExpectNoFloat(std::initializer_list<std::string_view> texts) { ExpectRefused<double>(TryStrToFloat, texts); }

TEST_F(FloatReader, GermanDecimalComma) {
  EXPECT_EQ(Read("1,5"), 1.5);
  EXPECT_EQ(Read("  -2,25  "), -2.25);
  EXPECT_EQ(Read("+3"), 3);
  EXPECT_EQ(Read(",5"), 0.5);
  EXPECT_EQ(Read("1,5E3"), 1500);
  EXPECT_EQ(Read("2e-2"), 0.02);
  ExpectNoFloat({"1.5", "1.000,5", "", "  ", ",", "-", "abc", "inf", "-nan", "1,5x", "1,,5", "--1", "+-1", "- 1", "1e",
                 "1e999", "0x10"});
}

TEST_F(FloatReader, PointUnderUsSettings) {
  UseUsSettings();
  EXPECT_EQ(Read("1.5"), 1.5);
  EXPECT_EQ(Read("-.25"), -0.25);
  ExpectNoFloat({"1,5", "1,000.5"});
}

TEST_F(FloatReader, StrToFloatRaisesConvertError) {
  EXPECT_EQ(StrToFloat("0,125"), 0.125);
  ExpectConvertError([] { StrToFloat("1.5"); }, "'1.5' ist kein gültiger Gleitkommawert");
}

TEST_F(FloatWriter, FixedAndScientificForms) {
  EXPECT_EQ(FloatToStr(0), "0");
  EXPECT_EQ(FloatToStr(1.5), "1,5");
  EXPECT_EQ(FloatToStr(100), "100");
  EXPECT_EQ(FloatToStr(-0.00001), "-0,00001");
  EXPECT_EQ(FloatToStr(0.1 + 0.2), "0,3");
  EXPECT_EQ(FloatToStr(123456789012345.0), "123456789012345");
  EXPECT_EQ(FloatToStr(1e15), "1E15");
  EXPECT_EQ(FloatToStr(1e20), "1E20");
  EXPECT_EQ(FloatToStr(1e-6), "1E-6");
  EXPECT_EQ(FloatToStr(-1.5e-7), "-1,5E-7");
  EXPECT_EQ(FloatToStr(2.0 / 3.0), "0,666666666666667");
  EXPECT_EQ(FloatToStr(NAN), "NAN");
  EXPECT_EQ(FloatToStr(-INFINITY), "-INF");
  UseUsSettings();
  EXPECT_EQ(FloatToStr(1234.5), "1234.5");
}

TEST_F(FloatWriter, ReadsBackAsTheSameNumber) {
  for (double value : {3.14159, -2.5e-10, 1234.5678, 1e300, 0.1, 99999999999999.9}) {
    EXPECT_EQ(StrToFloat(FloatToStr(value)), value) << FloatToStr(value);
  }
}

TEST(TextHelpers, AsciiOnlyCaseAndTrim) {
  EXPECT_EQ(UpperCase("aäz-Ü"), "AäZ-Ü");
  EXPECT_EQ(LowerCase("AÄZ-ü"), "aÄz-ü");
  EXPECT_TRUE(SameIgnoringCase("Quoted-Printable", "QUOTED-PRINTABLE"));
  EXPECT_FALSE(SameIgnoringCase("ä", "Ä"));
  EXPECT_FALSE(SameIgnoringCase("UTF-8", "UTF-16"));
  EXPECT_EQ(Trim(" \t\r\n Straße \x01"), "Straße");
  EXPECT_EQ(Trim("   "), "");
}

}  // namespace
}  // namespace vesk
