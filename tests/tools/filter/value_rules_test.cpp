// The comparison and conversion rules on their own, including the cases the
// parser's constants never reach (Empty, doubles, arrays), and the stack.
#include <gtest/gtest.h>

#include <limits>

#include "runtime/datetime.h"
#include "runtime/exceptions.h"
#include "runtime/format_settings.h"
#include "tools/filter/constant_conversion.h"
#include "tools/filter/expr_stack.h"
#include "tools/filter/value_compare.h"

namespace vesk {
namespace {

std::string ErrorOf(const Variant& left, const Variant& right) {
  try {
    CompareValues(left, right);
  } catch (const EVariantError& error) {
    return error.Message();
  }
  return "no error";
}

TEST(CompareStrings, ModesAndPrefixes) {
  EXPECT_LT(CompareStrings("abc", "abd", -1, 0), 0);
  EXPECT_LT(CompareStrings("ab", "abc", -1, 0), 0);
  // Bytes compare unsigned: ä (0xC3 ...) lies above every ASCII letter.
  EXPECT_GT(CompareStrings("ä", "z", -1, 0), 0);
  EXPECT_LT(CompareStrings("B", "a", -1, 0), 0);
  // Case-insensitive folds ASCII letters only.
  EXPECT_EQ(CompareStrings("MeIeR", "mEiEr", -2, 3), 0);
  EXPECT_NE(CompareStrings("Ä", "ä", -2, 3), 0);
  EXPECT_LT(CompareStrings("a", "B", -2, 1), 0);
  EXPECT_GT(CompareStrings("[", "a", -2, 1), 0);  // 'a' folds to 'A', below '['
  // A prefix length counts only with the partial bit.
  EXPECT_EQ(CompareStrings("Meier", "Mei", 3, 2), 0);
  EXPECT_LT(CompareStrings("Me", "Mei", 3, 2), 0);
  EXPECT_EQ(CompareStrings("meier", "MEI", 3, 3), 0);
  EXPECT_NE(CompareStrings("meier", "MEI", 3, 2), 0);
  EXPECT_EQ(CompareStrings("anything", "", 0, 2), 0);
  EXPECT_NE(CompareStrings("Meier", "Mei", 3, 1), 0);
  // A negative length keeps only the case bit of the options.
  EXPECT_NE(CompareStrings("Meier", "Mei", -1, 3), 0);
  EXPECT_EQ(CompareStrings("meier", "MEIER", -2, 3), 0);
}

TEST(CompareValues, RulesByClass) {
  const Variant null = Variant::Null();
  EXPECT_EQ(ErrorOf(Variant(), Variant(1)), "Ungültige Variant-Operation");
  EXPECT_EQ(ErrorOf(null, Variant()), "Ungültige Variant-Operation");
  EXPECT_TRUE(CompareValues(null, null) == 0);
  for (const Variant& value : {Variant(0), Variant(""), Variant(false), Variant(-1e300), Variant::FromDate(-700000)}) {
    EXPECT_TRUE(CompareValues(null, value) < 0);
    EXPECT_TRUE(CompareValues(value, null) > 0);
  }
  // Dates and anything as day numbers.
  EXPECT_TRUE(CompareValues(Variant::FromDate(EncodeDate(2000, 12, 24)), Variant(36884)) == 0);
  EXPECT_TRUE(CompareValues(Variant::FromDate(0.5), Variant(Currency{5000})) == 0);
  // Currency before floating point: 0.00001 rounds to 0 as currency.
  EXPECT_TRUE(CompareValues(Variant(Currency{0}), Variant(0.00001)) == 0);
  EXPECT_TRUE(CompareValues(Variant(0.00001), Variant(0.0)) > 0);
  // Text with text byte by byte; text with a number as numbers.
  EXPECT_TRUE(CompareValues(Variant("10"), Variant("9")) < 0);
  EXPECT_TRUE(CompareValues(Variant("10"), Variant(9)) > 0);
  EXPECT_TRUE(CompareValues(Variant(2.5), Variant("2,5")) == 0);
  EXPECT_EQ(ErrorOf(Variant("x"), Variant(1)), "Ungültige Variant-Typumwandlung");
  EXPECT_EQ(ErrorOf(Variant(1.5), Variant("x")), "Ungültige Variant-Typumwandlung");
  // Integers with booleans as integers (True is -1), booleans with text as booleans.
  EXPECT_TRUE(CompareValues(Variant(0), Variant(true)) > 0);
  EXPECT_TRUE(CompareValues(Variant(true), Variant(-1)) == 0);
  EXPECT_TRUE(CompareValues(Variant(false), Variant(true)) < 0);
  EXPECT_TRUE(CompareValues(Variant(true), Variant("true")) == 0);
  EXPECT_TRUE(CompareValues(Variant("False"), Variant(true)) < 0);
  EXPECT_EQ(ErrorOf(Variant(true), Variant("ja")), "Ungültige Variant-Typumwandlung");
  // Booleans with floating point as numbers.
  EXPECT_TRUE(CompareValues(Variant(true), Variant(-1.0)) == 0);
  EXPECT_EQ(ErrorOf(Variant(1), Variant::FromArray({Variant(1)})), "Ungültige Variant-Typumwandlung");
  // A NaN is unordered: neither equal, below nor above.
  const auto order = CompareValues(Variant(std::numeric_limits<double>::quiet_NaN()), Variant(1.0));
  EXPECT_TRUE(order == std::partial_ordering::unordered);
}

TEST(ConvertConstant, ByFieldType) {
  SetFormatSettings(FormatSettings{});
  for (TFieldType type : {ftString, ftInteger, ftBoolean, ftFloat, ftCurrency, ftDate, ftTime, ftDateTime, ftMemo}) {
    EXPECT_TRUE(ConvertConstant(Variant::Null(), type).IsNull());
  }
  EXPECT_EQ(ConvertConstant(Variant("7"), ftString), Variant("7"));
  EXPECT_EQ(ConvertConstant(Variant("7"), ftAutoInc), Variant("7"));
  EXPECT_EQ(ConvertConstant(Variant(true), ftString), Variant(true));
  EXPECT_EQ(ConvertConstant(Variant("0x1F"), ftInteger), Variant(31));
  EXPECT_EQ(ConvertConstant(Variant(true), ftInteger), Variant(-1));
  EXPECT_EQ(ConvertConstant(Variant("trUe"), ftBoolean), Variant(true));
  EXPECT_EQ(ConvertConstant(Variant("fast"), ftBoolean), Variant(true));  // a T wins over an F
  EXPECT_EQ(ConvertConstant(Variant("off"), ftBoolean), Variant(false));
  EXPECT_EQ(ConvertConstant(Variant("-1,5E2"), ftCurrency), Variant(-150.0));
  EXPECT_EQ(ConvertConstant(Variant(true), ftFloat), Variant(-1.0));
  EXPECT_EQ(ConvertConstant(Variant("24.12.2000 12:00"), ftDateTime),
            Variant::FromDate(EncodeDate(2000, 12, 24) + 0.5));
  EXPECT_EQ(ConvertConstant(Variant("18:00"), ftTime), Variant::FromDate(0.75));
  EXPECT_EQ(ConvertConstant(Variant(false), ftDate), Variant::FromDate(0));
}

TEST(ConvertConstant, FailuresNameTheConstant) {
  const auto message = [](const Variant& value, TFieldType type) {
    try {
      ConvertConstant(value, type);
    } catch (const Exception& error) {
      return error.Message();
    }
    return std::string("no error");
  };
  EXPECT_EQ(message(Variant("ja"), ftBoolean), "ja is not a valid boolean data value.");
  EXPECT_EQ(message(Variant(""), ftBoolean), " is not a valid boolean data value.");
  EXPECT_EQ(message(Variant("1.5"), ftInteger), "'1.5' ist kein gültiger Integerwert");
  EXPECT_EQ(message(Variant("1.5"), ftFloat), "'1.5' ist kein gültiger Gleitkommawert");
  EXPECT_EQ(message(Variant("1.5.x"), ftDate), "'1.5.x' ist keine gültige Datums- und Uhrzeitangabe");
  // A value of another type that does not convert.
  EXPECT_EQ(message(Variant(1e20), ftInteger), "1E20 is not a valid data value");
  EXPECT_EQ(message(Variant(Currency{-922337203685477000}), ftInteger), "-92233720368547,7 is not a valid data value");
  EXPECT_THROW(ConvertConstant(Variant(1e20), ftInteger), EDatabaseError);
  EXPECT_THROW(ConvertConstant(Variant("x"), ftInteger), EConvertError);
}

TEST(Stack, SlotsAreKeptUntilCleared) {
  TStack stack;
  const Variant name("Name");
  const Variant constant(std::string(100, 'x'));
  stack.Push(0, &name);
  stack.Push(1, &constant);
  stack.PushCondition(true);
  EXPECT_EQ(stack.Top(), 3);
  const TStackNode& condition = stack.Pop();
  EXPECT_EQ(condition.Kind, 2);
  EXPECT_TRUE(condition.Condition);
  const TStackNode& top = stack.Pop();
  EXPECT_EQ(top.Kind, 1);
  EXPECT_EQ(top.Value, &constant);
  EXPECT_EQ(stack.Pop().Value, &name);
  EXPECT_EQ(stack.Top(), 0);
  EXPECT_EQ(stack.Count(), 3);
  try {
    stack.Pop();
    ADD_FAILURE() << "an empty stack popped";
  } catch (const EDatabaseError& error) {
    EXPECT_STREQ(error.what(), "Error in filter expression evaluation");
  }
  // A condition in a slot that held a value drops the value.
  stack.Push(1, &constant);
  stack.Reset();
  stack.PushCondition(false);
  EXPECT_EQ(stack.Pop().Value, nullptr);
  EXPECT_EQ(stack.Count(), 3);
  stack.Clear();
  EXPECT_EQ(stack.Count(), 0);
  EXPECT_EQ(stack.Top(), 0);
}

}  // namespace
}  // namespace vesk
