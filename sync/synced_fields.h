// An address as the sync compares it with its card: the fields import and
// export map (what has no field stays in the card, out of Text) and the
// two tariff zones, which travel as X-VESK-TARIFZONE1/2 so that a second
// computer gets them. A change goes into the server's card field by field:
// only the properties of the changed fields are rewritten, every other line
// (photo, birthday, a third number, organisation, X- properties) stays as
// the server had it.
#pragma once

#include <string>

#include "tools/exchange/address_record.h"

namespace vesk {

struct SyncedFields {
  AddressRecord address;
  std::string Tarifzone1, Tarifzone2;
  friend bool operator==(const SyncedFields&, const SyncedFields&) = default;
};

// The fields of a card's text; empty fields for a text that is no card.
SyncedFields FieldsOfCard(const std::string& card);

// The card with what differs between before and after written into it: a
// changed value replaces the property it came from, a new one is added
// before END:VCARD, an emptied one goes.
std::string PatchedCard(const std::string& card, const SyncedFields& before, const SyncedFields& after);

// A card for an address made here.
std::string NewCard(const SyncedFields& fields, const std::string& uid);

}  // namespace vesk
