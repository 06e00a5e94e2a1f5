#include "runtime/variant.h"

#include <gtest/gtest.h>

#include <cmath>

#include "runtime/exceptions.h"
#include "runtime_fixture.h"

namespace vesk {
namespace {

using VariantConversion = RuntimeTest;

const TDateTime kNoon = EncodeDate(2026, 12, 8) + 0.5;

template <typename Conversion>
void ExpectCastError(const Variant& value, Conversion convert) {
  try {
    convert(value);
    ADD_FAILURE() << "no exception for type " << static_cast<int>(value.Type());
  } catch (const EVariantError& error) {
    EXPECT_EQ(error.Message(), "Ungültige Variant-Typumwandlung");
  }
}

TEST_F(VariantConversion, ToInteger) {
  EXPECT_EQ(Variant().AsInteger(), 0);
  EXPECT_EQ(Variant(int16_t{-3}).AsInteger(), -3);
  EXPECT_EQ(Variant(2.5).AsInteger(), 2) << "half to even";
  EXPECT_EQ(Variant(3.5).AsInteger(), 4);
  EXPECT_EQ(Variant(-2.5).AsInteger(), -2);
  EXPECT_EQ(Variant(2147483647.0).AsInteger(), 2147483647);
  EXPECT_EQ(Variant(Currency::FromDouble(1.5)).AsInteger(), 2);
  EXPECT_EQ(Variant(" $10").AsInteger(), 16) << "the integer reader";
  EXPECT_EQ(Variant(true).AsInteger(), -1);
  EXPECT_EQ(Variant(false).AsInteger(), 0);
  EXPECT_EQ(Variant::FromDate(kNoon).AsInteger(), 46364) << "the day number";
  auto asInteger = [](const Variant& v) { return v.AsInteger(); };
  for (const Variant& bad : {Variant::Null(), Variant("1,5"), Variant("x"), Variant(""), Variant(3e9),
                             Variant(2147483647.5), Variant(NAN), Variant::FromArray({1})}) {
    ExpectCastError(bad, asInteger);
  }
}

TEST_F(VariantConversion, ToDoubleAndCurrency) {
  EXPECT_EQ(Variant().AsDouble(), 0);
  EXPECT_EQ(Variant(7).AsDouble(), 7);
  EXPECT_EQ(Variant("1,5").AsDouble(), 1.5);
  EXPECT_EQ(Variant(true).AsDouble(), -1);
  EXPECT_EQ(Variant::FromDate(kNoon).AsDouble(), 46364.5);
  EXPECT_EQ(Variant(Currency{12345}).AsDouble(), 1.2345);
  EXPECT_EQ(Variant(1.23456).AsCurrency().scaled, 12346);
  EXPECT_EQ(Variant("-2,5").AsCurrency().scaled, -25000);
  EXPECT_EQ(Variant(3).AsCurrency().scaled, 30000);
  EXPECT_EQ(Currency::FromDouble(-1.23454).scaled, -12345);
  auto asDouble = [](const Variant& v) { return v.AsDouble(); };
  for (const Variant& bad : {Variant::Null(), Variant("1.5"), Variant("abc"), Variant::FromArray({})}) {
    ExpectCastError(bad, asDouble);
  }
  auto asCurrency = [](const Variant& v) { return v.AsCurrency(); };
  for (const Variant& bad : {Variant::Null(), Variant(1e300), Variant(NAN), Variant("x")}) {
    ExpectCastError(bad, asCurrency);
  }
  UseUsSettings();
  EXPECT_EQ(Variant("1.5").AsDouble(), 1.5);
}

TEST_F(VariantConversion, ToString) {
  EXPECT_EQ(Variant().AsString(), "");
  EXPECT_EQ(Variant(-42).AsString(), "-42");
  EXPECT_EQ(Variant(1.5).AsString(), "1,5");
  EXPECT_EQ(Variant(Currency{15000}).AsString(), "1,5");
  EXPECT_EQ(Variant(Currency{-5}).AsString(), "-0,0005");
  EXPECT_EQ(Variant(Currency{30000}).AsString(), "3");
  EXPECT_EQ(Variant(Currency{INT64_MIN}).AsString(), "-922337203685477,5808");
  EXPECT_EQ(Variant(true).AsString(), "True");
  EXPECT_EQ(Variant(false).AsString(), "False");
  EXPECT_EQ(Variant::FromDate(kNoon).AsString(), "08.12.2026 12:00:00");
  auto asString = [](const Variant& v) { return v.AsString(); };
  ExpectCastError(Variant::Null(), asString);
  ExpectCastError(Variant::FromArray({"a"}), asString);

  // TextView: a text as it is stored, anything else converted into scratch.
  std::string scratch = "unused";
  const Variant text("Meier");
  EXPECT_EQ(text.TextView(scratch), "Meier");
  EXPECT_EQ(scratch, "unused");
  EXPECT_EQ(Variant(1.5).TextView(scratch), "1,5");
  EXPECT_EQ(scratch, "1,5");
  ExpectCastError(Variant::Null(), [&](const Variant& v) { return std::string(v.TextView(scratch)); });
}

TEST_F(VariantConversion, ToBoolean) {
  EXPECT_FALSE(Variant().AsBoolean());
  EXPECT_TRUE(Variant("true").AsBoolean());
  EXPECT_FALSE(Variant("FALSE").AsBoolean());
  EXPECT_FALSE(Variant("0").AsBoolean());
  EXPECT_TRUE(Variant("$1").AsBoolean());
  EXPECT_TRUE(Variant("0,5").AsBoolean());
  EXPECT_FALSE(Variant(0).AsBoolean());
  EXPECT_TRUE(Variant(0.5).AsBoolean());
  EXPECT_TRUE(Variant(Currency{1}).AsBoolean());
  EXPECT_TRUE(Variant::FromDate(kNoon).AsBoolean());
  auto asBoolean = [](const Variant& v) { return v.AsBoolean(); };
  for (const Variant& bad : {Variant::Null(), Variant("ja"), Variant(""), Variant::FromArray({})}) {
    ExpectCastError(bad, asBoolean);
  }
}

TEST_F(VariantConversion, ToDateAndArray) {
  EXPECT_EQ(Variant("24.12.2000").AsDate(), EncodeDate(2000, 12, 24));
  EXPECT_EQ(Variant("24.12.2000 12:00").AsDate(), EncodeDate(2000, 12, 24) + 0.5);
  EXPECT_EQ(Variant(5).AsDate(), 5);
  EXPECT_EQ(Variant().AsDate(), 0);
  auto asDate = [](const Variant& v) { return v.AsDate(); };
  for (const Variant& bad : {Variant::Null(), Variant("30.02.2026"), Variant::FromArray({})}) {
    ExpectCastError(bad, asDate);
  }
  const Variant keys = Variant::FromArray({1, "Meier", Variant::Null()});
  ASSERT_EQ(keys.AsArray().size(), 3u);
  EXPECT_EQ(keys.AsArray()[1].AsString(), "Meier");
  EXPECT_TRUE(keys.AsArray()[2].IsNull());
  ExpectCastError(Variant(1), [](const Variant& v) { return v.AsArray().size(); });
}

TEST(VariantEquality, SameTypeAndValue) {
  EXPECT_EQ(Variant(1), Variant(1));
  EXPECT_NE(Variant(1), Variant(2));
  EXPECT_NE(Variant(1), Variant(int16_t{1}));
  EXPECT_NE(Variant(1), Variant(1.0));
  EXPECT_NE(Variant(1.0), Variant::FromDate(1.0));
  EXPECT_EQ(Variant::Null(), Variant::Null());
  EXPECT_EQ(Variant(), Variant());
  EXPECT_NE(Variant(), Variant::Null());
  EXPECT_NE(Variant("a"), Variant("A"));
  EXPECT_NE(Variant(true), Variant(false));
  EXPECT_EQ(Variant::FromArray({1, "a"}), Variant::FromArray({1, "a"}));
  EXPECT_NE(Variant::FromArray({1, "a"}), Variant::FromArray({1, "b"}));
  EXPECT_NE(Variant::FromArray({1}), Variant::FromArray({1, 1}));
}

}  // namespace
}  // namespace vesk
