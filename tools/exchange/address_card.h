// An address from a vCard and a vCard (3.0) from an address. What a card
// holds beyond the address fields - further numbers, mail and web
// addresses, birthday, organisation - goes into Text below the note, one
// readable line each, so that nothing the user had is lost.
#pragma once

#include <string>

#include "tools/exchange/address_record.h"
#include "tools/exchange/vcard_reader.h"

namespace vesk {

// Where what has no field goes: into Text (a file's import), or nowhere, as
// the sync has it, which keeps it in the server's card.
enum class CardRest { IntoText, LeftInCard };

AddressRecord AddressFromCard(const VCard& card, CardRest rest = CardRest::IntoText);
// One card, CRLF line ends, lines folded at 75 bytes.
std::string CardFromAddress(const AddressRecord& address);

}  // namespace vesk
