#include "platform/regional_settings.h"

#include <gtest/gtest.h>

#include <clocale>
#include <tuple>

#include "runtime/datetime.h"
#include "tests/support/generated_locales.h"

namespace vesk {
namespace {

// The settings that the locale decides, comparable as a whole.
auto Fields(const FormatSettings& s) {
  return std::tie(s.shortDateFormat, s.shortTimeFormat, s.longTimeFormat, s.dateSeparator, s.timeSeparator,
                  s.decimalSeparator, s.thousandSeparator, s.timeAMString, s.timePMString);
}

FormatSettings German() {
  FormatSettings german;
  german.shortDateFormat = "dd.mm.yyyy";
  german.shortTimeFormat = "hh:nn";
  german.longTimeFormat = "hh:nn:ss";
  german.dateSeparator = '.';
  german.timeSeparator = ':';
  german.decimalSeparator = ',';
  german.thousandSeparator = '.';
  german.timeAMString = german.timePMString = "";
  return german;
}

void ExpectGermanDefaults(const FormatSettings& settings) { EXPECT_EQ(Fields(settings), Fields(German())); }

// Restores the C locale after each test.
class RegionalSettings : public ::testing::Test {
 protected:
  void TearDown() override {
    std::setlocale(LC_ALL, "C");
    SetMultiByteCodePageForTesting(false);
  }
};

TEST_F(RegionalSettings, CLocalesGiveTheGermanDefaults) {
  for (const char* name : {"C", "POSIX", "C.UTF-8"}) {
    ASSERT_NE(std::setlocale(LC_ALL, name), nullptr) << name;
    ExpectGermanDefaults(ReadRegionalSettings());
  }
  std::setlocale(LC_ALL, "C");
  LoadRegionalSettings();
  EXPECT_FALSE(IsMultiByteCodePage());
  ExpectGermanDefaults(GetFormatSettings());
  std::setlocale(LC_ALL, "C.UTF-8");
  LoadRegionalSettings();
  EXPECT_TRUE(IsMultiByteCodePage());
}

TEST_F(RegionalSettings, ReadsTheUsersLocale) {
  GeneratedLocales locales({"de_DE", "en_US", "ja_JP"});
  if (!locales.Missing().empty()) GTEST_SKIP() << locales.Missing() << " cannot be generated here (package locales)";

  ASSERT_NE(std::setlocale(LC_ALL, "en_US.UTF-8"), nullptr);
  FormatSettings english = German();
  english.shortDateFormat = "mm/dd/yyyy";
  english.dateSeparator = '/';
  english.longTimeFormat = "hh:nn:ss ampm";
  english.shortTimeFormat = "hh:nn ampm";
  english.timeAMString = "AM";
  english.timePMString = "PM";
  english.decimalSeparator = '.';
  english.thousandSeparator = ',';
  EXPECT_EQ(Fields(ReadRegionalSettings()), Fields(english));

  // Each category on its own: German dates, English numbers.
  ASSERT_NE(std::setlocale(LC_TIME, "de_DE.UTF-8"), nullptr);
  FormatSettings mixed = German();
  mixed.decimalSeparator = '.';
  mixed.thousandSeparator = ',';
  EXPECT_EQ(Fields(ReadRegionalSettings()), Fields(mixed));

  ASSERT_NE(std::setlocale(LC_ALL, "de_DE.UTF-8"), nullptr);
  ExpectGermanDefaults(ReadRegionalSettings());
  LoadRegionalSettings();
  ExpectGermanDefaults(GetFormatSettings());
  EXPECT_TRUE(IsMultiByteCodePage());

  // Japanese formats name the fields with words the parsers would not read:
  // the German formats stand in, so that written dates and times read back.
  ASSERT_NE(std::setlocale(LC_ALL, "ja_JP.UTF-8"), nullptr);
  FormatSettings japanese = German();
  japanese.decimalSeparator = '.';
  japanese.thousandSeparator = ',';
  EXPECT_EQ(Fields(ReadRegionalSettings()), Fields(japanese));
  SetFormatSettings(FormatSettings{});
}

// What the settings of a locale format, the runtime's parsers read back.
TEST_F(RegionalSettings, FormattedDatesAndTimesReadBack) {
  GeneratedLocales locales({"en_US"});
  if (!locales.Missing().empty()) GTEST_SKIP() << "en_US cannot be generated here";
  ASSERT_NE(std::setlocale(LC_ALL, "en_US.UTF-8"), nullptr);
  LoadRegionalSettings();
  TDateTime date = EncodeDate(2026, 12, 8);
  TDateTime afternoon = EncodeTime(14, 30, 5, 0);
  EXPECT_EQ(DateToStr(date), "12/08/2026");
  EXPECT_EQ(TimeToStr(afternoon), "02:30:05 PM");
  EXPECT_EQ(TimeToStr(EncodeTime(0, 5, 0, 0)), "12:05:00 AM");
  TDateTime read = 0;
  ASSERT_TRUE(TryStrToDate(DateToStr(date), read));
  EXPECT_EQ(read, date);
  ASSERT_TRUE(TryStrToTime(TimeToStr(afternoon), read));
  EXPECT_NEAR(read, afternoon, 1e-9);
  SetFormatSettings(FormatSettings{});
}

// What a library does at its load in a host that never set the user's
// locale: the environment's formats, each category on its own, while the
// process stays in the C locale.
TEST_F(RegionalSettings, UserSettingsWithoutTouchingTheProcessLocale) {
  GeneratedLocales locales({"fr_FR"});
  if (!locales.Missing().empty()) GTEST_SKIP() << "fr_FR cannot be generated here";
  ScopedEnv all("LC_ALL", std::nullopt);
  ScopedEnv ctype("LC_CTYPE", std::nullopt);
  ScopedEnv numeric("LC_NUMERIC", "xx_YY.UTF-8");  // no such locale: stays C
  ScopedEnv time("LC_TIME", std::nullopt);
  ScopedEnv lang("LANG", "fr_FR.UTF-8");
  ASSERT_NE(std::setlocale(LC_ALL, "C"), nullptr);
  LoadUserRegionalSettings();
  FormatSettings french = German();
  french.shortDateFormat = "dd/mm/yyyy";
  french.dateSeparator = '/';
  EXPECT_EQ(Fields(GetFormatSettings()), Fields(french));
  EXPECT_TRUE(IsMultiByteCodePage());
  EXPECT_STREQ(std::setlocale(LC_ALL, nullptr), "C");
  EXPECT_EQ(DateToStr(EncodeDate(2026, 12, 9)), "09/12/2026");
  SetFormatSettings(FormatSettings{});
}

TEST_F(RegionalSettings, LeadBytesAndCharacterLengthsOfUtf8) {
  SetMultiByteCodePageForTesting(true);
  EXPECT_TRUE(IsLeadByte(0xC3));
  EXPECT_TRUE(IsLeadByte(0xF4));
  EXPECT_FALSE(IsLeadByte('a'));
  EXPECT_FALSE(IsLeadByte(0x80));
  EXPECT_FALSE(IsLeadByte(0xC1));
  EXPECT_FALSE(IsLeadByte(0xF5));
  struct Case {
    const char* bytes;
    int available;
    int length;
  };
  for (Case c : {Case{"a", 1, 1}, Case{"\xC3\xA4x", 3, 2}, Case{"\xE2\x82\xAC", 3, 3}, Case{"\xF0\x9F\x98\x80", 4, 4},
                 Case{"\xF4\x8F\xBF\xBF", 4, 4}, Case{"\xE2\x82\xAC", 2, 1},  // cut off
                 Case{"\xC3"
                      "a",
                      2, 1},                      // no continuation
                 Case{"\xC0\x80", 2, 1},          // overlong
                 Case{"\xE0\x80\x80", 3, 1},      // overlong
                 Case{"\xED\xA0\x80", 3, 1},      // surrogate
                 Case{"\xF0\x80\x80\x80", 4, 1},  // overlong
                 Case{"\xF4\x90\x80\x80", 4, 1},  // above U+10FFFF
                 Case{"\xE2\x82"
                      "a",
                      3, 1},  // broken third byte
                 Case{"\x80", 1, 1}, Case{"", 0, 0}}) {
    EXPECT_EQ(CharLength(c.bytes, c.available), c.length) << testing::PrintToString(c.bytes);
  }
  SetMultiByteCodePageForTesting(false);
  EXPECT_FALSE(IsMultiByteCodePage());
  EXPECT_FALSE(IsLeadByte(0xC3));
  EXPECT_EQ(CharLength("\xC3\xA4", 2), 1);
}

}  // namespace
}  // namespace vesk
