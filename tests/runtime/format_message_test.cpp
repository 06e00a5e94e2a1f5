#include <gtest/gtest.h>

#include "runtime/exceptions.h"

namespace vesk {
namespace {

TEST(FormatMessage, ReplacesInOrder) {
  EXPECT_EQ(FormatMessage(kSInvalidInteger, {"x"}), "'x' ist kein gültiger Integerwert");
  EXPECT_EQ(FormatMessage("%s und %s", {"A", "B"}), "A und B");
  EXPECT_EQ(FormatMessage("%s", {"%s"}), "%s") << "arguments are not scanned again";
  EXPECT_EQ(FormatMessage("ohne", {"A"}), "ohne");
}

TEST(FormatMessage, PercentSignsAndMissingArguments) {
  EXPECT_EQ(FormatMessage("100%% von %s", {"A"}), "100% von A");
  EXPECT_EQ(FormatMessage("%s und %s", {"A"}), "A und %s");
  EXPECT_EQ(FormatMessage("%d %", {}), "%d %");
  EXPECT_EQ(FormatMessage("", {}), "");
}

}  // namespace
}  // namespace vesk
