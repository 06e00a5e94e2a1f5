#include "sync/address_sync.h"

#include <QUuid>
#include <map>
#include <memory>
#include <optional>
#include <set>

#include "runtime/utf8_text.h"
#include "sync/collection_sync.h"
#include "sync/field_rows.h"
#include "sync/synced_fields.h"
#include "toolkit/data/field.h"
#include "tools/exchange/batch_import.h"
#include "tools/table/RadiRidir.h"
#include "tools/table/RadiRidirBatch.h"
#include "tools/tables/table_schemas.h"

namespace vesk {
namespace {

// The fields the sync compares, by number: the address record's in the
// table's order, then the two tariff zones.
constexpr size_t kFieldCount = std::size(kAddressFields) + 2;

const char* FieldName(size_t i) {
  if (i < std::size(kAddressFields)) return kAddressFields[i].first;
  return i == std::size(kAddressFields) ? adressen::kTarifzone1 : adressen::kTarifzone2;
}

std::string& Field(SyncedFields& fields, size_t i) {
  if (i < std::size(kAddressFields)) return fields.address.*kAddressFields[i].second;
  return i == std::size(kAddressFields) ? fields.Tarifzone1 : fields.Tarifzone2;
}
const std::string& Field(const SyncedFields& fields, size_t i) { return Field(const_cast<SyncedFields&>(fields), i); }

std::string UidOf(const std::string& card) {
  const size_t at = card.find("\nUID:");
  if (at == std::string::npos) return {};
  const size_t end = card.find_first_of("\r\n", at + 5);
  return card.substr(at + 5, end == std::string::npos ? std::string::npos : end - at - 5);
}

class AddressSync : public CollectionSync {
 public:
  AddressSync(TRadiRidir& table, DavClient& client, QUrl book, TDateTime today, SyncHooks hooks,
              std::function<void(SyncOutcome)> done)
      : CollectionSync(client, std::move(book), DavKind::AddressBook, SyncStateFile(TableFilePath(table.TableName())),
                       std::move(hooks), std::move(done)),
        table_(table),
        today_(today),
        rows_(Columns(table), NoteColumn()) {
    for (size_t i = 0; i < kFieldCount; ++i) fields_[i] = table_.FieldByName(FieldName(i));
  }

 private:
  static std::vector<FieldColumn> Columns(TRadiRidir& table) {
    std::vector<FieldColumn> columns;
    for (size_t i = 0; i < kFieldCount; ++i) {
      const TField* field = table.FieldByName(FieldName(i));
      columns.push_back({FieldName(i), field->DataType() == ftString ? static_cast<size_t>(field->Size()) : 0});
    }
    return columns;
  }

  // The notes of conflicts go below Text.
  static size_t NoteColumn() {
    size_t i = 0;
    while (std::string_view(FieldName(i)) != adressen::kText) ++i;
    return i;
  }

  static FieldRow Row(const SyncedFields& fields) {
    FieldRow row(kFieldCount);
    for (size_t i = 0; i < kFieldCount; ++i) row[i] = Field(fields, i);
    return row;
  }
  static SyncedFields Fields(const FieldRow& row) {
    SyncedFields fields;
    for (size_t i = 0; i < kFieldCount; ++i) Field(fields, i) = row[i];
    return fields;
  }

  // ----- the table

  SyncedFields Read() const {
    SyncedFields fields;
    for (size_t i = 0; i < kFieldCount; ++i) Field(fields, i) = fields_[i]->AsString();
    return fields;
  }

  void Write(const SyncedFields& fields) {
    for (size_t i = 0; i < kFieldCount; ++i) SetTextCut(*fields_[i], Field(fields, i));
  }

  SyncedFields Cut(const SyncedFields& fields) const { return Fields(rows_.Cut(Row(fields))); }
  SyncedFields Whole(const SyncedFields& held, const SyncedFields& server) const {
    return Fields(rows_.Whole(Row(held), Row(server)));
  }
  SyncedFields Merged(const SyncedFields& base, const SyncedFields& here, const SyncedFields& server) {
    return Fields(rows_.Merged(Row(base), Row(here), Row(server), today_, summary_.conflicts));
  }
  static std::string Encoded(const SyncedFields& fields) {
    std::string encoded;
    for (size_t i = 0; i < kFieldCount; ++i) FieldRows::Encode(encoded, Field(fields, i));
    return encoded;
  }

  void Reconcile() override {
    std::map<int32_t, SyncedFields> local;
    for (table_.First(); !table_.Eof(); table_.Next()) local[table_.RecordIdentity()] = Read();

    std::map<int32_t, SyncedFields> updates;                    // records to rewrite here
    std::set<int32_t> deletes;                                  // records to delete here
    std::vector<std::pair<FetchedCard, SyncedFields>> inserts;  // cards to make records of
    std::set<std::string> handled;                              // fetched hrefs taken care of
    for (auto it = state_.cards.begin(); it != state_.cards.end();) {
      SyncedCard& synced = it->second;
      if (synced.held.empty()) synced.held = Encoded(Cut(FieldsOfCard(synced.base)));
      // Read only where the record or its card changed.
      auto base = [&synced] { return FieldsOfCard(synced.base); };
      // The record here, taken out of those still to place.
      std::optional<SyncedFields> here;
      if (const auto found = local.find(synced.record); found != local.end()) {
        here = std::move(found->second);
        local.erase(found);
      }
      const bool changedHere = here && Encoded(*here) != synced.held;
      const auto there = fetched_.find(synced.href);
      handled.insert(synced.href);
      if (there != fetched_.end()) {
        const FetchedCard& card = there->second;
        const SyncedFields server = FieldsOfCard(card.text);
        if (!here) {  // deleted here, changed there: the change wins
          inserts.push_back({card, Cut(server)});
          it = state_.cards.erase(it);
          continue;
        }
        const SyncedFields merged = changedHere ? Merged(base(), *here, server) : Cut(server);
        if (merged != *here) updates[synced.record] = merged;
        ++summary_.changed;
        synced = Synced(synced.record, synced.href, card.etag, card.text);
        const SyncedFields whole = Whole(merged, server);
        if (whole != server)
          Queue({synced.href, PatchedCard(card.text, server, whole), card.etag}, {synced.record, merged, card.text});
      } else if (removed_.contains(synced.href)) {
        if (!here) {
          it = state_.cards.erase(it);
          continue;
        }
        if (!changedHere) {
          deletes.insert(synced.record);
          ++summary_.deleted;
          it = state_.cards.erase(it);
          continue;
        }
        // Changed here, deleted there: the card is made again.
        Queue({synced.href, Patched(synced.base, *here), ""}, {synced.record, *here, synced.base});
      } else if (!here) {
        Queue({synced.href, "", synced.etag, true}, {synced.record, {}, synced.base});
      } else if (changedHere) {
        Queue({synced.href, Patched(synced.base, *here), synced.etag}, {synced.record, *here, synced.base});
      }
      ++it;
    }
    // New on the server: joined to a record here with the same fields, or a new record.
    std::map<std::string, std::vector<int32_t>> unsyncedHere;
    std::set<int32_t> synced;
    for (const auto& [record, card] : state_.cards) synced.insert(record);
    for (const auto& [record, fields] : local)
      if (!synced.contains(record)) unsyncedHere[Encoded(fields)].push_back(record);
    for (auto& [href, card] : fetched_) {
      if (handled.contains(href)) continue;
      const SyncedFields server = Cut(FieldsOfCard(card.text));
      auto same = unsyncedHere.find(Encoded(server));
      if (same != unsyncedHere.end() && !same->second.empty()) {
        const int32_t record = same->second.back();
        same->second.pop_back();
        state_.cards[record] = Synced(record, href, card.etag, card.text);
        local.erase(record);
        continue;
      }
      inserts.push_back({card, server});
    }
    // New here: up as new cards.
    for (const auto& [record, fields] : local) {
      if (synced.contains(record)) continue;
      const std::string uid = QUuid::createUuid().toString(QUuid::WithoutBraces).toStdString();
      const std::string href = collection_.path(QUrl::FullyEncoded).toStdString() + uid + ".vcf";
      Queue({href, NewCard(fields, uid), ""}, {record, fields, ""});
    }
    Apply(updates, deletes, inserts);
  }

  // What the state keeps of a card synced now.
  SyncedCard Synced(int32_t record, const std::string& href, const std::string& etag, const std::string& text) const {
    return {record, href, etag, UidOf(text), text, Encoded(Cut(FieldsOfCard(text))), ""};
  }

  // The card with the record's fields changed since it.
  std::string Patched(const std::string& card, const SyncedFields& here) const {
    const SyncedFields base = FieldsOfCard(card);
    return PatchedCard(card, base, Whole(here, base));
  }

  // The table's changes in one batch: all or none.
  void Apply(const std::map<int32_t, SyncedFields>& updates, const std::set<int32_t>& deletes,
             const std::vector<std::pair<FetchedCard, SyncedFields>>& inserts) {
    if (updates.empty() && deletes.empty() && inserts.empty()) return;
    TRadiRidirBatch batch(table_);
    try {
      table_.First();
      while (!table_.Eof()) {
        const int32_t record = table_.RecordIdentity();
        if (deletes.contains(record)) {
          table_.Delete();
          continue;
        }
        if (const auto update = updates.find(record); update != updates.end()) {
          table_.Edit();
          Write(update->second);
          table_.Post();
        }
        table_.Next();
      }
      for (const auto& [card, fields] : inserts) {
        table_.Append();
        Write(fields);
        table_.Post();
        const int32_t record = table_.RecordIdentity();
        state_.cards[record] = Synced(record, card.href, card.etag, card.text);
        ++summary_.added;
      }
      batch.Commit();
    } catch (...) {
      if (table_.State() != dsBrowse) table_.Cancel();
      throw;
    }
  }

  // ----- the server's cards, one by one

  // What a write carries besides its card.
  struct Upload_ {
    int32_t record;
    SyncedFields held;  // the record's fields here, which the card carries
    std::string base;   // the server's card the change was made against
  };

  void Queue(ResourceWrite write, Upload_ upload) {
    writes_.push_back(std::move(write));
    uploads_.push_back(std::move(upload));
  }

  void Wrote(size_t i, const std::string& etag) override {
    const ResourceWrite& write = writes_[i];
    const int32_t record = uploads_[i].record;
    if (write.remove) {
      state_.cards.erase(record);
      ++summary_.deleted;
      return;
    }
    if (!state_.cards.contains(record)) ++summary_.added;
    state_.cards[record] = Synced(record, write.href, etag, write.text);
  }

  void Postponed(size_t i) override {
    const int32_t record = uploads_[i].record;
    if (state_.cards.contains(record)) state_.cards[record].etag.clear();
  }

  // The card changed there since it was listed (412): merged now and
  // written again once; a deleted record whose card was changed comes back
  // here.
  void Merge(size_t next, std::optional<FetchedCard> card) override {
    ResourceWrite& write = writes_[next];
    Upload_& upload = uploads_[next];
    if (!card) {  // gone meanwhile: a change is made again, a deletion is done
      if (write.remove) {
        state_.cards.erase(upload.record);
        return Upload(next + 1);
      }
      write.etag.clear();
      write.again = true;
      return Upload(next);
    }
    const SyncedFields server = FieldsOfCard(card->text);
    if (write.remove) {
      state_.cards.erase(upload.record);
      Apply({}, {}, {{*card, Cut(server)}});
      return Upload(next + 1);
    }
    const SyncedFields merged = Merged(FieldsOfCard(upload.base), upload.held, server);
    if (merged != upload.held) Apply({{upload.record, merged}}, {}, {});
    state_.cards[upload.record] = Synced(upload.record, write.href, card->etag, card->text);
    const SyncedFields whole = Whole(merged, server);
    write = {write.href, PatchedCard(card->text, server, whole), card->etag, false, true};
    upload = {upload.record, merged, card->text};
    if (whole == server) return Upload(next + 1);
    Upload(next);
  }

  TRadiRidir& table_;
  TDateTime today_;
  FieldRows rows_;
  TField* fields_[kFieldCount] = {};
  std::vector<Upload_> uploads_;  // beside writes_
};

}  // namespace

std::string SyncSummary::Text() const {
  std::string text = std::string(what) + " abgeglichen: " + std::to_string(added) + " neu, " + std::to_string(changed) +
                     " geändert, " + std::to_string(deleted) + " gelöscht";
  if (conflicts > 0)
    text += ", " + std::to_string(conflicts) + (conflicts == 1 ? " Konflikt" : " Konflikte") + " (siehe Text)";
  return text;
}

std::string SyncProgress::Text() const {
  if (toWrite > 0)
    return "Abgleich: " + std::to_string(written) + " von " + std::to_string(toWrite) + " " + items + " geschrieben";
  return "Abgleich: " + std::to_string(fetched) + " von " + std::to_string(toFetch) + " " + items + " geholt";
}

void SyncAddresses(TRadiRidir& table, DavClient& client, const QUrl& book, TDateTime today,
                   std::function<void(SyncOutcome)> done, SyncHooks hooks) {
  std::make_shared<AddressSync>(table, client, book, today, std::move(hooks), std::move(done))->Start();
}

}  // namespace vesk
