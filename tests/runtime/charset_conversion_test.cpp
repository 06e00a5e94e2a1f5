#include "runtime/charset_conversion.h"

#include <gtest/gtest.h>

#include <string>

#include "runtime/exceptions.h"

namespace vesk {
namespace {

TEST(CharsetConversion, ValidUtf8StaysAndAnythingElseIsWindows1252) {
  struct Case {
    const char* bytes;
    bool valid;
    const char* utf8;
  };
  const Case cases[] = {
      {"", true, ""},
      {"Bücher €", true, "Bücher €"},
      {"\xf0\x9f\x93\x9a", true, "\xf0\x9f\x93\x9a"},  // outside the BMP
      {"B\xfc"
       "cher",
       false, "Bücher"},
      {"\x80 \x9f", false, "€ Ÿ"},
      // A character cut at the end, an overlong slash, a surrogate: no UTF-8.
      {"ab\xc3", false, "abÃ"},
      {"\xc0\xaf", false, "À¯"},
      {"\xed\xa0\x80", false, "í\xc2\xa0\xe2\x82\xac"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(IsValidUtf8(c.bytes), c.valid) << c.bytes;
    EXPECT_EQ(Utf8OrWindows1252(c.bytes), c.utf8) << c.bytes;
  }
}

TEST(CharsetConversion, NamedSetsAndTheirFailures) {
  EXPECT_EQ(CharsetToUtf8("\xa4", "ISO-8859-15"), "€");
  EXPECT_EQ(CharsetToUtf8("\xa4", "iso-8859-1"), "¤");
  EXPECT_EQ(CharsetToUtf8(std::string("a\0b", 3), "windows-1252"), std::string("a\0b", 3));
  try {
    CharsetToUtf8("a", "KLINGON-8");
    ADD_FAILURE() << "no exception";
  } catch (const EConvertError& error) {
    EXPECT_EQ(error.Message(), "unbekannter Zeichensatz KLINGON-8");
  }
}

}  // namespace
}  // namespace vesk
