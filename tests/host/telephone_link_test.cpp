#include "host/telephone_link.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <optional>
#include <ostream>
#include <string>

namespace vesk {
namespace {

struct LinkCase {
  std::string link;
  std::optional<std::string> callee;  // nothing: malformed
};

// Control characters escaped, so that the test's name shows them.
void PrintTo(const LinkCase& c, std::ostream* out) {
  *out << '"';
  for (const char ch : c.link) {
    if (static_cast<unsigned char>(ch) < 0x20 || ch == 0x7F) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\x%02X", static_cast<unsigned>(static_cast<unsigned char>(ch)));
      *out << escaped;
    } else {
      *out << ch;
    }
  }
  *out << '"';
}

class TelephoneLink : public testing::TestWithParam<LinkCase> {};

TEST_P(TelephoneLink, StandsForItsCallee) { EXPECT_EQ(CalleeOfLink(GetParam().link), GetParam().callee); }

INSTANTIATE_TEST_SUITE_P(
    Tel, TelephoneLink,
    testing::Values(
        // The separators as the author wrote them; escapes decoded.
        LinkCase{"tel:+49-711-123456", "+49-711-123456"}, LinkCase{"TEL:+49.711.(0)123456", "+49.711.(0)123456"},
        LinkCase{"tel:%2B49%20711%20123456", "+49 711 123456"}, LinkCase{"tel:0711123456", "0711123456"},
        LinkCase{"tel:*31%23", "*31#"},
        // Parameters: the extension after the number, a numeric context before a
        // local one, the rest left aside, names in any case.
        LinkCase{"tel:+49-711-1234;ext=56", "+49-711-1234-56"},
        LinkCase{"tel:1234;phone-context=+49-711", "+49-711 1234"},
        LinkCase{"tel:1234;EXT=5;Phone-Context=+49-711", "+49-711 1234-5"},
        LinkCase{"tel:+49-711-1234;phone-context=+1-212", "+49-711-1234"},
        LinkCase{"tel:7042;phone-context=example.com", "7042"},
        LinkCase{"tel:+49-711-1234;isub=1411;npdi;rn=+49-711-9", "+49-711-1234"},
        // Malformed.
        LinkCase{"tel:", std::nullopt}, LinkCase{"tel:+", std::nullopt}, LinkCase{"tel:--()", std::nullopt},
        LinkCase{"tel:0800-FLOWERS", std::nullopt}, LinkCase{"tel:0711 12a", std::nullopt},
        LinkCase{"tel:49+711", std::nullopt}, LinkCase{"tel:0711/123456", std::nullopt},
        LinkCase{"tel://0711123456", std::nullopt}, LinkCase{"tel:0711%0A123", std::nullopt},
        LinkCase{"tel:0711\t123", std::nullopt}, LinkCase{"tel:0711%7F", std::nullopt},
        LinkCase{"tel:0711%2", std::nullopt}, LinkCase{"tel:0711%zz", std::nullopt},
        LinkCase{"tel:0711%3B1", std::nullopt}, LinkCase{"tel:0711;", std::nullopt},
        LinkCase{"tel:0711;=5", std::nullopt}, LinkCase{"tel:0711;ext=", std::nullopt},
        LinkCase{"tel:0711;ext=+5", std::nullopt}, LinkCase{"tel:0711;ext=5a", std::nullopt},
        LinkCase{"tel:1234;phone-context=+49-x", std::nullopt}, LinkCase{"tel:0711;isub=%0D", std::nullopt},
        LinkCase{"tel:+49-711-" + std::string(244, '1'), "+49-711-" + std::string(244, '1')},
        LinkCase{"tel:+49-711-" + std::string(245, '1'), std::nullopt}));

INSTANTIATE_TEST_SUITE_P(Callto, TelephoneLink,
                         testing::Values(LinkCase{"callto:+49-711-123456", "+49-711-123456"},
                                         LinkCase{"callto://+49711123456", "+49711123456"},
                                         LinkCase{"CallTo://+49711123456/", "+49711123456"},
                                         LinkCase{"callto:0711;ext=9", "0711-9"}, LinkCase{"callto://", std::nullopt},
                                         LinkCase{"callto:echo123", std::nullopt},
                                         LinkCase{"callto:/+49711", std::nullopt}));

INSTANTIATE_TEST_SUITE_P(
    Sip, TelephoneLink,
    testing::Values(
        // An address as it stands, its scheme in lower case.
        LinkCase{"sip:max@fritz.box", "sip:max@fritz.box"},
        LinkCase{"SIPS:max@example.com:5061;transport=tls", "sips:max@example.com:5061;transport=tls"},
        LinkCase{"sip:fritz.box", "sip:fritz.box"}, LinkCase{"sip:%2B49@gw?subject=x", "sip:%2B49@gw?subject=x"},
        LinkCase{"sip:+4971112345@gw.example.com", "sip:+4971112345@gw.example.com"},
        // user=phone: the user part is the number, a password after it is not.
        LinkCase{"sip:+4971112345@gw.example.com;user=phone", "+4971112345"},
        LinkCase{"sips:+49-711-12345:geheim@gw;transport=tls;User=Phone", "+49-711-12345"},
        LinkCase{"sip:1234;phone-context=+49-711@gw;user=phone", "+49-711 1234"},
        LinkCase{"sip:alice@gw;user=phone", std::nullopt},
        // Malformed.
        LinkCase{"sip:", std::nullopt}, LinkCase{"sip:max@", std::nullopt}, LinkCase{"sip:@fritz.box", std::nullopt},
        LinkCase{"sip:max@;user=phone", std::nullopt}, LinkCase{"sip:max mustermann@fritz.box", std::nullopt},
        LinkCase{"sip:max%0A@fritz.box", std::nullopt}, LinkCase{"sip:max%@fritz.box", std::nullopt}));

INSTANTIATE_TEST_SUITE_P(OtherSchemes, TelephoneLink,
                         testing::Values(LinkCase{"", std::nullopt}, LinkCase{"+49-711-123456", std::nullopt},
                                         LinkCase{"mailto:max@fritz.box", std::nullopt},
                                         LinkCase{"http://example.com/tel:0711", std::nullopt},
                                         LinkCase{"fax:+49-711-123456", std::nullopt},
                                         LinkCase{"te l:0711", std::nullopt},
                                         LinkCase{std::string("tel:0711\0"
                                                              "123",
                                                              12),
                                                  std::nullopt}));

}  // namespace
}  // namespace vesk
