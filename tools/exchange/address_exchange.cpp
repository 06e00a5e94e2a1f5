#include "tools/exchange/address_exchange.h"

#include "toolkit/field.h"
#include "tools/exchange/address_card.h"
#include "tools/table/RadiRidir.h"

namespace vesk {

size_t ImportVCards(TRadiRidir& table, std::string_view text, const ImportProgress& progress) {
  const std::vector<VCard> cards = ReadVCards(text);
  std::vector<AddressRecord> addresses;
  addresses.reserve(cards.size());
  for (const VCard& card : cards) addresses.push_back(AddressFromCard(card));
  AppendInOneBatch(
      table, addresses.size(),
      [&](size_t i) {
        AddressRecord& address = addresses[i];
        std::string cut;
        for (const auto& [name, member] : kAddressFields) {
          if (member == &AddressRecord::Text) continue;
          if (!SetTextCut(*table.FieldByName(name), address.*member))
            cut += std::string(cut.empty() ? "" : "\n") + name + " (vollständig): " + address.*member;
        }
        if (!cut.empty()) address.Text += (address.Text.empty() ? "" : "\n\n") + cut;
        SetTextCut(*table.FieldByName("Text"), address.Text);
      },
      [&](size_t i) { return cards[i].line; }, progress);
  return addresses.size();
}

std::string ExportVCards(TRadiRidir& table) {
  std::string text;
  for (table.First(); !table.Eof(); table.Next()) {
    AddressRecord address;
    for (const auto& [name, member] : kAddressFields) address.*member = table.FieldByName(name)->AsString();
    text += CardFromAddress(address);
  }
  return text;
}

}  // namespace vesk
