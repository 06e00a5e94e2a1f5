#include "tools/exchange/address_exchange.h"

#include "toolkit/data/field.h"
#include "tools/exchange/address_card.h"
#include "tools/table/RadiRidir.h"

namespace vesk {

ImportResult ImportVCards(TRadiRidir& table, std::string_view text, const ImportProgress& progress) {
  // Each card becomes its record as it is read; none is stored before the
  // whole file has been read.
  std::vector<AddressRecord> addresses;
  std::vector<int> lines;
  // Room for as many as the file begins cards, so that the list never moves.
  size_t cards = 0;
  for (size_t at = text.find("BEGIN:VCARD"); at != std::string_view::npos; at = text.find("BEGIN:VCARD", at + 1))
    ++cards;
  addresses.reserve(cards);
  lines.reserve(cards);
  ImportResult result;
  ReadVCards(
      text,
      [&](VCard&& card) {
        addresses.push_back(AddressFromCard(card));
        lines.push_back(card.line);
      },
      [&](const ExchangeFault& fault) { result.skipped.push_back(fault); });
  result.imported = addresses.size();
  result.RefuseWhenNothingCameIn();
  std::vector<TField*> fields;
  for (const auto& [name, member] : kAddressFields) fields.push_back(table.FieldByName(name));
  TField& memo = *table.FieldByName(adressen::kText);
  AppendInOneBatch(
      table, addresses.size(),
      [&](size_t i) {
        AddressRecord& address = addresses[i];
        std::string cut;
        for (size_t f = 0; f < fields.size(); ++f) {
          const auto& [name, member] = kAddressFields[f];
          if (member == &AddressRecord::Text) continue;
          if (!SetTextCut(*fields[f], address.*member))
            cut += std::string(cut.empty() ? "" : "\n") + name + " (vollständig): " + address.*member;
        }
        if (!cut.empty()) address.Text += (address.Text.empty() ? "" : "\n\n") + cut;
        SetTextCut(memo, address.Text);
      },
      [&](size_t i) { return lines[i]; }, progress);
  return result;
}

std::string ExportVCards(TRadiRidir& table) {
  std::vector<TField*> fields;
  for (const auto& [name, member] : kAddressFields) fields.push_back(table.FieldByName(name));
  std::string text;
  for (table.First(); !table.Eof(); table.Next()) {
    AddressRecord address;
    for (size_t f = 0; f < fields.size(); ++f) address.*kAddressFields[f].second = fields[f]->AsString();
    text += CardFromAddress(address);
  }
  return text;
}

}  // namespace vesk
