#include "platform/telephony/dialable_address.h"

#include <gtest/gtest.h>

namespace vesk {
namespace {

TEST(DialableAddress, NumbersAsPeopleWriteThem) {
  struct Case {
    const char* typed;
    const char* dialable;  // nullptr: refused
  };
  const Case cases[] = {
      {"0711 123456", "0711123456"},
      {"(07 11) 12 34-56", "0711123456"},
      {"0711/123456", "0711123456"},
      {"0711.12.34.56", "0711123456"},
      {"\t0711 123456 ", "0711123456"},
      {"0711\xC2\xA0"
       "123456",
       "0711123456"},  // a no-break space from a web page
      {"+49 711 123456", "+49711123456"},
      {"+49-711-123456", "+49711123456"},
      {"+49 (0)711 123456", "+49711123456"},
      {"+49(0)711/123456", "+49711123456"},
      {"0049 (0)711 123456", "0049711123456"},
      {"(0711) 123456", "0711123456"},  // no country code before it: the 0 is dialled
      {"(0)711 123456", "0711123456"},
      {"*31#0711 123456", "*31#0711123456"},
      {"sip:max@fritz.box", "sip:max@fritz.box"},
      {"SIPS:max@example.de;transport=tls", "SIPS:max@example.de;transport=tls"},
      {"0711 123456 ab 18 Uhr", nullptr},
      {"0711 123456 x12", nullptr},
      {"0711,123456", nullptr},
      {"0711 123456\n", nullptr},
      {"49+711", nullptr},
      {"++49 711", nullptr},
      {"+", nullptr},
      {"*#", nullptr},
      {"", nullptr},
      {" - / ", nullptr},
      {"sip:max @fritz.box", nullptr},
      {"sip:max@fritz.box\r\nVia: x", nullptr},
  };
  for (const Case& c : cases) {
    const std::optional<std::string> dialable = DialableAddress(c.typed);
    if (c.dialable == nullptr) {
      EXPECT_FALSE(dialable) << c.typed << " -> " << dialable.value_or("");
    } else {
      EXPECT_EQ(dialable.value_or("(refused)"), c.dialable) << c.typed;
    }
  }
}

TEST(DialableAddress, NationalFormForACallByCallPrefix) {
  struct Case {
    const char* dialable;
    const char* countryCode;
    const char* national;
  };
  const Case cases[] = {
      {"+49711123456", "49", "0711123456"},     {"+4917012345", "49", "017012345"}, {"+3312345", "49", "003312345"},
      {"+49711123456", "43", "0049711123456"},  {"+43112345", "43", "0112345"},     {"0711123456", "49", "0711123456"},
      {"0049711123456", "49", "0049711123456"}, {"*31#0711", "49", "*31#0711"},
  };
  for (const Case& c : cases) EXPECT_EQ(NationalForm(c.dialable, c.countryCode), c.national) << c.dialable;
}

}  // namespace
}  // namespace vesk
