// Constants the program writes into filter texts read back as what they
// were: quotes inside a text, and dates under regional formats whose
// separators the filter language has no token for.
#include "tools/filter/filter_constant.h"

#include "runtime/format_settings.h"
#include "tests/tools/filter/filter_fixture.h"

namespace vesk {
namespace {

using Names = std::vector<std::string>;

TEST_F(FilterTest, QuotedConstantsReadBackAsWritten) {
  EXPECT_EQ(QuotedConstant("O'Neil"), "'O''Neil'");
  EXPECT_EQ(QuotedConstant(""), "''");
  EXPECT_EQ(Passing("Name = " + QuotedConstant("O'Neil")), Names{"O'Neil"});
  // A trailing asterisk stays a pattern: quoting changes nothing the
  // language itself means.
  EXPECT_EQ(Passing("Name = " + QuotedConstant("M*")), (Names{"Meier", "MEIER", "Müller"}));
}

TEST_F(FilterTest, DateConstantsReadUnderEveryDateFormat) {
  const FormatSettings german = GetFormatSettings();
  struct Format {
    const char* pattern;
    char separator;
    const char* written;
  };
  for (const Format& format : {Format{"dd.mm.yyyy", '.', "'24.12.2000'"}, Format{"mm/dd/yyyy", '/', "'12/24/2000'"},
                               Format{"dd/mm/yy", '/', "'24/12/00'"}, Format{"yyyy-mm-dd", '-', "'2000-12-24'"}}) {
    FormatSettings settings = german;
    settings.shortDateFormat = format.pattern;
    settings.dateSeparator = format.separator;
    SetFormatSettings(settings);
    EXPECT_EQ(DateConstant(EncodeDate(2000, 12, 24)), format.written);
    EXPECT_EQ(Passing("Datum = " + DateConstant(EncodeDate(2000, 12, 24))), Names{"Meier"}) << format.pattern;
    EXPECT_EQ(Passing("Datum >= " + DateConstant(EncodeDate(2000, 12, 24)) + " AND Datum < " +
                      DateConstant(EncodeDate(2000, 12, 25))),
              (Names{"Meier", "MEIER"}))
        << format.pattern;
    // Unquoted, a date with "/" is no constant at all.
    if (format.separator == '/') {
      EXPECT_EQ(PrepareError("Datum = " + DateToStr(EncodeDate(2000, 12, 24))),
                "Ungültiges Zeichen in Filterausdruck: '/'");
    }
  }
  SetFormatSettings(german);
}

}  // namespace
}  // namespace vesk
