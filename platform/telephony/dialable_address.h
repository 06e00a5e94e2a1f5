// A telephone number as people write it, made dialable: blanks and the
// marks "( ) - / ." only format it, a leading "+" is the international
// form, "*" and "#" are dialled, and the German "(0)" after a country code
// ("+49 (0)711 123456") is the trunk prefix that is not dialled from
// abroad. Anything else (letters, a note such as "ab 18 Uhr") makes the
// number invalid, since dialling its digits alone would reach someone else.
// A "sip:" or "sips:" address is a dialable address as it stands.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vesk {

// The user's own country code when the INI file sets none.
inline constexpr const char* kDefaultCountryCode = "49";

// "+49711123456" for "+49 (0)711 123456", "0711123456" for "(07 11) 12 34-56";
// nothing when typed holds no digit or a character that is not dialled.
std::optional<std::string> DialableAddress(std::string_view typed);

// Whether address names a SIP address rather than a number.
bool IsSipAddress(std::string_view address);

// A dialable number as it is dialled from within the country whose code is
// countryCode: "+49711…" becomes "0711…", any other "+" becomes "00"; a
// national number stays as it is.
std::string NationalForm(const std::string& dialable, const std::string& countryCode);

}  // namespace vesk
