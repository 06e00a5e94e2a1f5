// Test fixture of the runtime tests: a fixed clock (8.12.2026 14:30) and the
// German regional settings, both restored after each test; US-like settings
// for the tests that switch.
#pragma once

#include <gtest/gtest.h>

#include "runtime/datetime.h"
#include "runtime/format_settings.h"

namespace vesk {

class RuntimeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetFormatSettings(FormatSettings{});
    SetClockForTesting([] { return EncodeDate(2026, 12, 8) + EncodeTime(14, 30, 0, 0); });
  }
  void TearDown() override {
    SetFormatSettings(FormatSettings{});
    SetClockForTesting({});
  }

  static void UseUsSettings() {
    FormatSettings us;
    us.shortDateFormat = "M/d/yyyy";
    us.longDateFormat = "dddd, MMMM d, yyyy";
    us.shortTimeFormat = "h:nn AMPM";
    us.longTimeFormat = "h:nn:ss AMPM";
    us.dateSeparator = '/';
    us.timeSeparator = ':';
    us.decimalSeparator = '.';
    us.thousandSeparator = ',';
    us.timeAMString = "AM";
    us.timePMString = "PM";
    SetFormatSettings(us);
  }
};

}  // namespace vesk
