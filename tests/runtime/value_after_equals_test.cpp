#include "runtime/value_after_equals.h"

#include <gtest/gtest.h>

#include "runtime/exceptions.h"

namespace vesk {
namespace {

TEST(ValueAfterEqualsTest, TakesEverythingAfterTheFirstEquals) {
  EXPECT_EQ(ValueAfterEquals("Zeit1=14:30:00"), "14:30:00");
  EXPECT_EQ(ValueAfterEquals("0=14:30:00"), "14:30:00");
  EXPECT_EQ(ValueAfterEquals("a=b=c"), "b=c");
  EXPECT_EQ(ValueAfterEquals("=x"), "x");
  EXPECT_EQ(ValueAfterEquals("Leer="), "");
}

TEST(ValueAfterEqualsTest, LineWithoutEqualsRaises) {
  for (const char* line : {"", "Zeit1 14:30:00", "14:30:00"}) {
    try {
      ValueAfterEquals(line);
      ADD_FAILURE() << "no error for '" << line << "'";
    } catch (const Exception& error) {
      EXPECT_STREQ(error.what(), "Trennzeichen (=) nicht gefunden");
    }
  }
}

}  // namespace
}  // namespace vesk
