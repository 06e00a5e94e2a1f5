#include "platform/strftime_format.h"

#include <gtest/gtest.h>

namespace vesk {
namespace {

TEST(StrftimeFormat, DatesInTheRuntimesLetters) {
  struct Case {
    const char* strftime;
    const char* format;
    char separator;
  };
  for (Case c :
       {Case{"%d.%m.%Y", "dd.mm.yyyy", '.'}, Case{"%m/%d/%Y", "mm/dd/yyyy", '/'}, Case{"%D", "mm/dd/yy", '/'},
        Case{"%F", "yyyy-mm-dd", '-'}, Case{"%e.%m.%Y", "d.mm.yyyy", '.'}, Case{"%Y. %m. %d.", "yyyy.mm.dd", '.'},
        Case{"%Od/%Om/%Ey", "dd/mm/yy", '/'}, Case{"%d.%m.%Y \xD0\xB3.", "dd.mm.yyyy", '.'}}) {
    std::optional<DateFormat> date = TranslateDateFormat(c.strftime);
    ASSERT_TRUE(date) << c.strftime;
    EXPECT_EQ(date->format, c.format) << c.strftime;
    EXPECT_EQ(date->separator, c.separator) << c.strftime;
  }
  // What the date parser could not read back.
  for (const char* refused : {"%Y\xE5\xB9\xB4%m\xE6\x9C\x88%d\xE6\x97\xA5", "%d-%b-%Y", "%d.%d.%Y", "%d.%m-%Y", "%d.%m",
                              "%d:%m:%Y", "%d%m%Y", "%A, %d.%m.%Y", "%dx%mx%Y"}) {
    EXPECT_FALSE(TranslateDateFormat(refused)) << refused;
  }
}

TEST(StrftimeFormat, TimesInTheRuntimesLetters) {
  struct Case {
    const char* strftime;
    const char* longFormat;
    const char* shortFormat;
    char separator;
    bool twelveHour;
  };
  for (Case c :
       {Case{"%H:%M:%S", "hh:nn:ss", "hh:nn", ':', false}, Case{"%T", "hh:nn:ss", "hh:nn", ':', false},
        Case{"%r", "hh:nn:ss ampm", "hh:nn ampm", ':', true}, Case{"%l:%M %p", "h:nn ampm", "h:nn ampm", ':', true},
        Case{"%I:%M:%S%p", "hh:nn:ssampm", "hh:nnampm", ':', true}, Case{"%H.%M.%S", "hh:nn:ss", "hh:nn", '.', false},
        Case{"%k:%M", "h:nn", "h:nn", ':', false}}) {
    std::optional<TimeFormat> time = TranslateTimeFormat(c.strftime);
    ASSERT_TRUE(time) << c.strftime;
    EXPECT_EQ(time->longFormat, c.longFormat) << c.strftime;
    EXPECT_EQ(time->shortFormat, c.shortFormat) << c.strftime;
    EXPECT_EQ(time->separator, c.separator) << c.strftime;
    EXPECT_EQ(time->twelveHour, c.twelveHour) << c.strftime;
  }
  for (const char* refused : {"%Hh%M", "%p %I:%M:%S", "%H\xE6\x97\xB6%M\xE5\x88\x86%S\xE7\xA7\x92", "%H/%M/%S", "%M:%H",
                              "%H:%M.%S", "%H", "%H:%M:%S:%S", "%H:%M:%S Uhr %p", "%H:%M %Z"}) {
    EXPECT_FALSE(TranslateTimeFormat(refused)) << refused;
  }
}

}  // namespace
}  // namespace vesk
