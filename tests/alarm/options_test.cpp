#include <gtest/gtest.h>

#include <climits>

#include "alarm/VeskProc.h"
#include "alarm/check_interval.h"

namespace vesk {
namespace {

AlarmSettings Read(const std::vector<std::string>& arguments) {
  AlarmSettings settings;
  ReadOptions(arguments, settings);
  return settings;
}

TEST(Options, DefaultsAndTheArgumentRules) {
  EXPECT_EQ(Read({}).leadMinutes, 120);
  EXPECT_EQ(Read({}).repeatMinutes, 10);
  EXPECT_EQ(Read({"-v:30", "-v:45"}).leadMinutes, 45) << "later ones override";
  EXPECT_EQ(Read({"-vorlauf:30"}).leadMinutes, 30) << "value after the first colon";
  for (const char* unchanged : {"-v:abc", "-v30", "-v:", "-V:30", "v:30", "-", "", "-x:30", "-v:1:5"}) {
    EXPECT_EQ(Read({unchanged}).leadMinutes, 120) << unchanged;
  }
  EXPECT_EQ(Read({"-v:30", "-v:abc"}).leadMinutes, 30) << "unreadable keeps the previous value";
  AlarmSettings both = Read({"-w:5", "programm", "-v:-15"});
  EXPECT_EQ(both.repeatMinutes, 5);
  EXPECT_EQ(both.leadMinutes, -15);
}

TEST(Options, IntegerForms) {
  EXPECT_EQ(Read({"-w:$F"}).repeatMinutes, 15);
  EXPECT_EQ(Read({"-w:0x1f"}).repeatMinutes, 31);
  EXPECT_EQ(Read({"-w:X10"}).repeatMinutes, 16);
  EXPECT_EQ(Read({"-w:  +7"}).repeatMinutes, 7) << "leading blanks and sign";
  EXPECT_EQ(Read({"-w:7 "}).repeatMinutes, 10) << "nothing may follow the digits";
  EXPECT_EQ(Read({"-w:$G"}).repeatMinutes, 10);
  EXPECT_EQ(OptionValue("-v:2147483647", 1), INT32_MAX);
  EXPECT_EQ(OptionValue("-v:-2147483648", 1), INT32_MIN);
  EXPECT_EQ(OptionValue("-v:2147483648", 1), 1) << "overflow";
  EXPECT_EQ(OptionValue("-v:99999999999999999999", 1), 1);
  EXPECT_EQ(OptionValue("-v:$80000000", 1), 1);
  EXPECT_EQ(OptionValue("-v", 7), 7);
}

TEST(CheckInterval, MinutesThatFitTheTimer) {
  CheckInterval one = CheckIntervalOf(1);
  EXPECT_EQ(one.milliseconds, 60000);
  EXPECT_TRUE(one.warning.empty());
  CheckInterval largest = CheckIntervalOf(35791);
  EXPECT_EQ(largest.milliseconds, 35791 * 60000);
  EXPECT_TRUE(largest.warning.empty());
}

TEST(CheckInterval, UnusableMinutesFallBackToTenWithAWarning) {
  // 35792 minutes are more milliseconds than 32 bits hold; the product
  // would wrap to a negative interval.
  for (int32_t minutes : {0, -1, -10, INT32_MIN, 35792, INT32_MAX}) {
    CheckInterval interval = CheckIntervalOf(minutes);
    EXPECT_EQ(interval.milliseconds, 600000) << minutes;
    EXPECT_NE(interval.warning.find(std::to_string(minutes)), std::string::npos) << interval.warning;
  }
}

}  // namespace
}  // namespace vesk
