#include "sync/address_sync.h"

#include <QUuid>
#include <map>
#include <memory>
#include <optional>
#include <set>

#include "runtime/utf8_text.h"
#include "sync/card_listing.h"
#include "sync/card_writes.h"
#include "sync/sync_state.h"
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

class AddressSync : public std::enable_shared_from_this<AddressSync> {
 public:
  AddressSync(TRadiRidir& table, DavClient& client, QUrl book, TDateTime today, SyncHooks hooks,
              std::function<void(SyncOutcome)> done)
      : table_(table),
        client_(client),
        book_(std::move(book)),
        today_(today),
        hooks_(std::move(hooks)),
        done_(std::move(done)),
        stateFile_(SyncStateFile(TableFilePath(table.TableName()))) {
    for (size_t i = 0; i < kFieldCount; ++i) fields_[i] = table_.FieldByName(FieldName(i));
  }

  void Start() {
    try {
      state_ = ReadSyncState(stateFile_);
      written_ = state_;
    } catch (const std::exception& error) {
      return Fail(DavFailure::None, error.what());
    }
    if (state_.book != book_.toString().toStdString()) {
      // Another address book: nothing of the old state holds.
      state_ = SyncStateData{book_.toString().toStdString(), "", {}};
    }
    List(state_.token);
  }

 private:
  // ----- what the server has

  void List(const std::string& token) {
    auto self = shared_from_this();
    if (token.starts_with(kCtagToken)) return ListByCtag(token);
    ListChanges(client_, book_, token, [self, token](CardListing listing) {
      if (listing.tokenRefused) return self->List("");
      if (listing.noSyncReport) return self->ListByCtag(token);
      self->Listed(std::move(listing), token.empty());
    });
  }

  // Without the sync report: everything listed, unless the collection's
  // getctag says nothing changed.
  void ListByCtag(const std::string& token) {
    auto self = shared_from_this();
    vesk::ListByCtag(client_, book_, token, [self](CardListing listing) {
      const bool everything = !listing.unchanged;
      self->Listed(std::move(listing), everything);
    });
  }

  void Listed(CardListing listing, bool everything) {
    if (listing.failure != DavFailure::None) return Fail(listing.failure, listing.message);
    token_ = listing.token;
    std::map<std::string, const SyncedCard*> byHref;
    for (const auto& [record, card] : state_.cards) byHref[card.href] = &card;
    std::vector<std::string> wanted;
    std::set<std::string> present;
    for (const CardEntry& entry : listing.present) {
      present.insert(entry.href);
      const auto known = byHref.find(entry.href);
      if (known == byHref.end() || known->second->etag != entry.etag || entry.etag.empty())
        wanted.push_back(entry.href);
    }
    if (everything) {
      for (const auto& [href, card] : byHref)
        if (!present.contains(href)) removed_.insert(href);
    } else {
      for (const std::string& href : listing.removed)
        if (byHref.contains(href)) removed_.insert(href);
    }
    auto self = shared_from_this();
    progress_.toFetch = wanted.size();
    FetchCards(
        client_, book_, wanted,
        [self](FetchedCards fetched) {
          if (fetched.stopped) return self->Stopped();
          if (fetched.failure != DavFailure::None) return self->Fail(fetched.failure, fetched.message);
          for (FetchedCard& card : fetched.cards) self->fetched_[card.href] = std::move(card);
          for (std::string& href : fetched.missing) self->removed_.insert(std::move(href));
          self->Reconcile();
        },
        [self](size_t asked) {
          self->progress_.fetched = asked;
          return self->Told();
        });
  }

  // The caller is told how far the sync is; false when it wants it stopped.
  bool Told() const { return !hooks_.progress || hooks_.progress(progress_); }

  // ----- the table

  SyncedFields Read() const {
    SyncedFields fields;
    for (size_t i = 0; i < kFieldCount; ++i) Field(fields, i) = fields_[i]->AsString();
    return fields;
  }

  void Write(const SyncedFields& fields) {
    for (size_t i = 0; i < kFieldCount; ++i) SetTextCut(*fields_[i], Field(fields, i));
  }

  // The fields as the table can hold them.
  SyncedFields Cut(SyncedFields fields) const {
    for (size_t i = 0; i < kFieldCount; ++i)
      if (fields_[i]->DataType() == ftString)
        Field(fields, i) = std::string(Utf8Prefix(Field(fields, i), static_cast<size_t>(fields_[i]->Size())));
    return fields;
  }

  // What goes to the server for fields held here: a value the table holds
  // cut is the server's whole one, unless it was changed here.
  SyncedFields Whole(const SyncedFields& held, const SyncedFields& server) const {
    SyncedFields whole = held;
    const SyncedFields cut = Cut(server);
    for (size_t i = 0; i < kFieldCount; ++i)
      if (Field(held, i) == Field(cut, i)) Field(whole, i) = Field(server, i);
    return whole;
  }

  // Both sides changed the record since base: each field changed on one
  // side takes that side's value; one changed on both keeps the value typed
  // here, the server's going below the note.
  SyncedFields Merged(const SyncedFields& base, const SyncedFields& here, const SyncedFields& server) {
    const SyncedFields b = Cut(base), s = Cut(server);
    SyncedFields merged = here;
    std::string notes;
    for (size_t i = 0; i < kFieldCount; ++i) {
      if (Field(here, i) == Field(b, i)) {
        Field(merged, i) = Field(s, i);
      } else if (Field(s, i) != Field(b, i) && Field(s, i) != Field(here, i)) {
        ++summary_.conflicts;
        notes += "\nAuf dem Server am " + FormatDateTime("dd.mm.yyyy", today_) + ": " + FieldName(i) + " = " +
                 Field(server, i);
      }
    }
    // Below the note, a blank line between.
    std::string& text = merged.address.Text;
    if (!notes.empty()) text += (text.empty() ? notes.substr(1) : "\n" + notes);
    return merged;
  }

  void Reconcile() {
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
          uploads_.push_back(
              {synced.record, synced.href, PatchedCard(card.text, server, whole), card.etag, false, merged, card.text});
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
        uploads_.push_back({synced.record, synced.href, Patched(synced.base, *here), "", false, *here, synced.base});
      } else if (!here) {
        uploads_.push_back({synced.record, synced.href, "", synced.etag, true, {}, synced.base});
      } else if (changedHere) {
        uploads_.push_back(
            {synced.record, synced.href, Patched(synced.base, *here), synced.etag, false, *here, synced.base});
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
      const std::string href = book_.path(QUrl::FullyEncoded).toStdString() + uid + ".vcf";
      uploads_.push_back({record, href, NewCard(fields, uid), "", false, fields, ""});
    }
    try {
      Apply(updates, deletes, inserts);
      state_.token = token_;
      WriteState();
    } catch (const std::exception& error) {
      return Fail(DavFailure::None, error.what());
    }
    Upload(0);
  }

  // The fields in one string, each with its length, so that two records'
  // strings are equal when all their fields are.
  static std::string Encoded(const SyncedFields& fields) {
    std::string encoded;
    for (size_t i = 0; i < kFieldCount; ++i)
      encoded += std::to_string(Field(fields, i).size()) + ':' + Field(fields, i);
    return encoded;
  }

  // What the state keeps of a card synced now.
  SyncedCard Synced(int32_t record, const std::string& href, const std::string& etag, const std::string& text) const {
    return {record, href, etag, UidOf(text), text, Encoded(Cut(FieldsOfCard(text)))};
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

  struct Upload_ {
    int32_t record;
    std::string href;
    std::string card;  // "" for a deletion
    std::string etag;  // "" for a new card
    bool remove;
    SyncedFields held;   // the record's fields here, which the card carries
    std::string base;    // the server's card the change was made against
    bool again = false;  // written a second time, after a merge
  };

  void Upload(size_t next) {
    progress_.written = next;
    progress_.toWrite = uploads_.size();
    if (next > 0 && !Told()) return Stopped();
    if (next >= uploads_.size()) return Finish();
    const Upload_& upload = uploads_[next];
    const QUrl url = book_.resolved(QUrl(QString::fromStdString(upload.href)));
    auto self = shared_from_this();
    auto written = [self, next](WriteResult result) { self->Written(next, std::move(result)); };
    if (hooks_.beforeWrite && !hooks_.beforeWrite(upload.href)) {
      SyncOutcome killed;
      killed.failure = DavFailure::Http;
      killed.message = "beendet";
      return done_(std::move(killed));
    }
    if (upload.remove)
      DeleteCard(client_, url, upload.etag, written);
    else
      PutCard(client_, url, upload.card, upload.etag, written);
  }

  void Written(size_t next, WriteResult result) {
    const Upload_& upload = uploads_[next];
    switch (result.outcome) {
      case WriteOutcome::Written:
        if (upload.remove) {
          state_.cards.erase(upload.record);
          ++summary_.deleted;
        } else {
          if (!state_.cards.contains(upload.record)) ++summary_.added;
          state_.cards[upload.record] = Synced(upload.record, upload.href, result.etag, upload.card);
        }
        break;
      case WriteOutcome::ChangedThere:
        if (!upload.again && !upload.etag.empty()) return Refetch(next);
        [[fallthrough]];
      case WriteOutcome::Gone:
      case WriteOutcome::UidTaken:
        // Changed there meanwhile: the next sync fetches it and merges.
        if (state_.cards.contains(upload.record)) state_.cards[upload.record].etag.clear();
        state_.token.clear();
        break;
      case WriteOutcome::Failed:
        return Fail(result.reply.failure == DavFailure::None ? DavFailure::Http : result.reply.failure,
                    FailureMessage(result.reply));
    }
    Upload(next + 1);
  }

  // The card changed there since it was listed (412): fetched and merged
  // now, and written again once; a deleted record whose card was changed
  // comes back here.
  void Refetch(size_t next) {
    auto self = shared_from_this();
    FetchCards(client_, book_, {uploads_[next].href}, [self, next](FetchedCards fetched) {
      if (fetched.failure != DavFailure::None) return self->Fail(fetched.failure, fetched.message);
      self->Merge(next, fetched.cards.empty() ? std::nullopt : std::optional<FetchedCard>(fetched.cards.front()));
    });
  }

  void Merge(size_t next, std::optional<FetchedCard> card) {
    Upload_& upload = uploads_[next];
    try {
      if (!card) {  // gone meanwhile: a change is made again, a deletion is done
        if (upload.remove) {
          state_.cards.erase(upload.record);
          return Upload(next + 1);
        }
        upload.etag.clear();
        upload.again = true;
        return Upload(next);
      }
      const SyncedFields server = FieldsOfCard(card->text);
      if (upload.remove) {
        state_.cards.erase(upload.record);
        Apply({}, {}, {{*card, Cut(server)}});
        return Upload(next + 1);
      }
      const SyncedFields merged = Merged(FieldsOfCard(upload.base), upload.held, server);
      if (merged != upload.held) Apply({{upload.record, merged}}, {}, {});
      state_.cards[upload.record] = Synced(upload.record, upload.href, card->etag, card->text);
      const SyncedFields whole = Whole(merged, server);
      upload = {upload.record, upload.href, PatchedCard(card->text, server, whole), card->etag, false, merged,
                card->text,    true};
      if (whole == server) return Upload(next + 1);
      Upload(next);
    } catch (const std::exception& error) {
      Fail(DavFailure::None, error.what());
    }
  }

  void Finish() {
    try {
      WriteState();
    } catch (const std::exception& error) {
      return Fail(DavFailure::None, error.what());
    }
    SyncOutcome outcome;
    outcome.summary = summary_;
    done_(std::move(outcome));
  }

  // Ended by the caller: what was written so far is kept as synced.
  void Stopped() {
    SyncOutcome outcome;
    outcome.stopped = true;
    End(std::move(outcome));
  }

  void Fail(DavFailure failure, const std::string& message) {
    SyncOutcome outcome;
    outcome.failure = failure == DavFailure::None ? DavFailure::Http : failure;
    outcome.message = message;
    End(std::move(outcome));
  }

  void WriteState() {
    WriteSyncState(stateFile_, state_, written_);
    written_ = state_;
  }

  void End(SyncOutcome outcome) {
    try {
      if (!state_.book.empty()) WriteState();
    } catch (const std::exception&) {
      // The state before stays; the next sync joins what was written.
    }
    outcome.summary = summary_;
    done_(std::move(outcome));
  }

  TRadiRidir& table_;
  DavClient& client_;
  QUrl book_;
  TDateTime today_;
  SyncHooks hooks_;
  std::function<void(SyncOutcome)> done_;
  std::string stateFile_;
  TField* fields_[kFieldCount] = {};
  SyncStateData state_;
  SyncStateData written_;  // what the state file holds
  std::string token_;
  std::set<std::string> removed_;
  std::map<std::string, FetchedCard> fetched_;
  std::vector<Upload_> uploads_;
  SyncSummary summary_;
  SyncProgress progress_;
};

}  // namespace

std::string SyncSummary::Text() const {
  std::string text = "Adressen abgeglichen: " + std::to_string(added) + " neu, " + std::to_string(changed) +
                     " geändert, " + std::to_string(deleted) + " gelöscht";
  if (conflicts > 0)
    text += ", " + std::to_string(conflicts) + (conflicts == 1 ? " Konflikt" : " Konflikte") + " (siehe Text)";
  return text;
}

std::string SyncProgress::Text() const {
  if (toWrite > 0)
    return "Abgleich: " + std::to_string(written) + " von " + std::to_string(toWrite) + " Karten geschrieben";
  return "Abgleich: " + std::to_string(fetched) + " von " + std::to_string(toFetch) + " Karten geholt";
}

void SyncAddresses(TRadiRidir& table, DavClient& client, const QUrl& book, TDateTime today,
                   std::function<void(SyncOutcome)> done, SyncHooks hooks) {
  std::make_shared<AddressSync>(table, client, book, today, std::move(hooks), std::move(done))->Start();
}

}  // namespace vesk
