#include "platform/telephony/dialable_address.h"

#include <cctype>

namespace vesk {
namespace {

constexpr std::string_view kNoBreakSpace = "\xC2\xA0";

bool IsFormatting(char c) { return c == ' ' || c == '\t' || c == '(' || c == ')' || c == '-' || c == '/' || c == '.'; }

bool IsDialled(char c) { return (c >= '0' && c <= '9') || c == '*' || c == '#'; }

bool HasPrefixIgnoringCase(std::string_view text, std::string_view prefix) {
  if (text.size() < prefix.size()) return false;
  for (size_t i = 0; i < prefix.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(text[i])) != prefix[i]) return false;
  }
  return true;
}

// Whether number, as far as it is read, is an international one with at
// least one digit of its country code.
bool AfterCountryCode(std::string_view number) {
  return (number.starts_with('+') && number.size() > 1) || (number.starts_with("00") && number.size() > 2);
}

}  // namespace

bool IsSipAddress(std::string_view address) {
  return HasPrefixIgnoringCase(address, "sip:") || HasPrefixIgnoringCase(address, "sips:");
}

std::optional<std::string> DialableAddress(std::string_view typed) {
  if (IsSipAddress(typed)) {
    // As it stands, but never with a control character or a blank, which
    // would end the address early on the wire.
    for (char c : typed) {
      if (static_cast<unsigned char>(c) <= ' ' || c == '\x7f') return std::nullopt;
    }
    return std::string(typed);
  }
  std::string number;
  bool digits = false;
  for (size_t i = 0; i < typed.size(); ++i) {
    const char c = typed[i];
    if (typed.substr(i, kNoBreakSpace.size()) == kNoBreakSpace) {
      i += kNoBreakSpace.size() - 1;
    } else if (c == '+') {
      if (!number.empty()) return std::nullopt;  // only in front
      number += c;
    } else if (c == '(' && AfterCountryCode(number) && typed.substr(i, 3) == "(0)") {
      i += 2;  // the trunk prefix after a country code
    } else if (IsDialled(c)) {
      digits = digits || (c >= '0' && c <= '9');
      number += c;
    } else if (!IsFormatting(c)) {
      return std::nullopt;
    }
  }
  if (!digits) return std::nullopt;
  return number;
}

std::string NationalForm(const std::string& dialable, const std::string& countryCode) {
  if (dialable.empty() || dialable[0] != '+') return dialable;
  const std::string_view international = std::string_view(dialable).substr(1);
  if (!countryCode.empty() && international.starts_with(countryCode))
    return "0" + std::string(international.substr(countryCode.size()));
  return "00" + std::string(international);
}

}  // namespace vesk
