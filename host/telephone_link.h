// Telephone links, as web pages, mails and other programs hand them over:
// "tel:" (RFC 3966), "callto:" with or without "//", and "sip:" or
// "sips:". What a link stands for is what the address window dials: the
// number with the separators the link's author wrote, or a SIP address.
//
// A number is percent-decoded and holds digits, "*", "#", a leading "+"
// and the visual separators - . ( ) and the blank, which stay as they are;
// letters and everything else make the link malformed, and so does a
// number without a digit. Of the parameters, ";ext=" is dialled after the
// number as its extension ("+49-711-1234;ext=56" is "+49-711-1234-56",
// the way extensions are dialled here), ";phone-context=" with a number
// goes before a local number ("1234;phone-context=+49-711" is
// "+49-711 1234"), a domain as context leaves the number as it is, and
// other parameters (";isub=", ";npdi", ...) do not change what is dialled.
// "callto:" takes a number as "tel:" does. A SIP address is passed on as
// it stands, with its scheme in lower case, unless its parameters say
// ";user=phone": then its user part is the number.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace vesk {

// Longer links are refused whole; no number is that long.
inline constexpr size_t kMaxLinkLength = 256;

// The number or SIP address the link stands for; nothing when the link is
// malformed: another scheme, no number, a letter in a number, a control
// character (also percent-encoded), a broken percent escape, an empty
// parameter, or longer than kMaxLinkLength.
std::optional<std::string> CalleeOfLink(std::string_view link);

}  // namespace vesk
