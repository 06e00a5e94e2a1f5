// The fuzz target of the vCard reader: any bytes as an address file. Every
// refusal and skipped card names its line; what it reads, written as a
// card and read again, is the same address.
#include <string_view>

#include "fuzz/fuzz_entry.h"
#include "tools/exchange/address_card.h"
#include "tools/exchange/exchange_error.h"

namespace vesk {

void FuzzOneInput(const uint8_t* data, size_t size) {
  std::vector<VCard> cards;
  std::vector<ExchangeFault> skipped;
  try {
    cards = ReadVCards(std::string_view(reinterpret_cast<const char*>(data), size), &skipped);
  } catch (const EExchangeError& error) {
    if (error.Line() < 1) FuzzRuleBroken("a refusal without its line");
    return;
  }
  if (cards.empty() && skipped.empty()) FuzzRuleBroken("a file read without a card");
  for (const ExchangeFault& fault : skipped)
    if (fault.line < 1 || fault.reason.empty()) FuzzRuleBroken("a skipped card without its line");
  for (const VCard& card : cards) {
    const AddressRecord address = AddressFromCard(card);
    std::vector<VCard> again;
    try {
      again = ReadVCards(CardFromAddress(address));
    } catch (const EExchangeError&) {
      FuzzRuleBroken("a written card is refused");
    }
    if (again.size() != 1) FuzzRuleBroken("a written card reads as another number of cards");
    if (!(AddressFromCard(again.front()) == address)) FuzzRuleBroken("a written card reads back as another address");
  }
}

}  // namespace vesk
