#include "sync/collection_sync.h"

namespace vesk {

CollectionSync::CollectionSync(DavClient& client, QUrl collection, DavKind kind, std::string stateFile, SyncHooks hooks,
                               std::function<void(SyncOutcome)> done)
    : client_(client),
      collection_(std::move(collection)),
      kind_(kind),
      stateFile_(std::move(stateFile)),
      hooks_(std::move(hooks)),
      done_(std::move(done)) {}

void CollectionSync::Start() {
  try {
    state_ = ReadSyncState(stateFile_);
    written_ = state_;
  } catch (const std::exception& error) {
    return Fail(DavFailure::None, error.what());
  }
  if (state_.book != collection_.toString().toStdString()) {
    // Another collection: nothing of the old state holds.
    state_ = SyncStateData{collection_.toString().toStdString(), "", {}};
  }
  List(state_.token);
}

// ----- what the server has

void CollectionSync::List(const std::string& token) {
  auto self = shared_from_this();
  if (token.starts_with(kCtagToken)) return ListByCtag(token);
  ListChanges(client_, collection_, token, [self, token](CardListing listing) {
    if (listing.tokenRefused) return self->List("");
    if (listing.noSyncReport) return self->ListByCtag(token);
    self->Listed(std::move(listing), token.empty());
  });
}

// Without the sync report: everything listed, unless the collection's
// getctag says nothing changed.
void CollectionSync::ListByCtag(const std::string& token) {
  auto self = shared_from_this();
  vesk::ListByCtag(
      client_, collection_, token,
      [self](CardListing listing) {
        const bool everything = !listing.unchanged;
        self->Listed(std::move(listing), everything);
      },
      kind_);
}

void CollectionSync::Listed(CardListing listing, bool everything) {
  if (listing.failure != DavFailure::None) return Fail(listing.failure, listing.message);
  token_ = listing.token;
  std::map<std::string, const SyncedCard*> byHref;
  for (const auto& [record, card] : state_.cards) byHref[card.href] = &card;
  std::vector<std::string> wanted;
  std::set<std::string> present;
  for (const CardEntry& entry : listing.present) {
    present.insert(entry.href);
    const auto known = byHref.find(entry.href);
    if (known == byHref.end() || known->second->etag != entry.etag || entry.etag.empty()) wanted.push_back(entry.href);
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
      client_, collection_, wanted,
      [self](FetchedCards fetched) {
        if (fetched.stopped) return self->Stopped();
        if (fetched.failure != DavFailure::None) return self->Fail(fetched.failure, fetched.message);
        for (FetchedCard& card : fetched.cards) self->fetched_[card.href] = std::move(card);
        for (std::string& href : fetched.missing) self->removed_.insert(std::move(href));
        self->Reconciled();
      },
      [self](size_t asked) {
        self->progress_.fetched = asked;
        return self->Told();
      },
      kind_);
}

bool CollectionSync::Told() const { return !hooks_.progress || hooks_.progress(progress_); }

void CollectionSync::Reconciled() {
  try {
    Reconcile();
    state_.token = token_;
    WriteState();
  } catch (const std::exception& error) {
    return Fail(DavFailure::None, error.what());
  }
  Upload(0);
}

// ----- the server's resources, one by one

void CollectionSync::Upload(size_t next) {
  progress_.written = next;
  progress_.toWrite = writes_.size();
  if (next > 0 && !Told()) return Stopped();
  if (next >= writes_.size()) return Finish();
  const ResourceWrite& write = writes_[next];
  auto self = shared_from_this();
  auto written = [self, next](WriteResult result) { self->Written(next, std::move(result)); };
  if (hooks_.beforeWrite && !hooks_.beforeWrite(write.href)) {
    SyncOutcome killed;
    killed.failure = DavFailure::Http;
    killed.message = "beendet";
    return done_(std::move(killed));
  }
  if (write.remove)
    DeleteCard(client_, Resolved(write.href), write.etag, written);
  else
    PutCard(client_, Resolved(write.href), write.text, write.etag, written, kind_);
}

void CollectionSync::Written(size_t next, WriteResult result) {
  try {
    switch (result.outcome) {
      case WriteOutcome::Written: Wrote(next, result.etag); break;
      case WriteOutcome::ChangedThere:
        if (!writes_[next].again && !writes_[next].etag.empty()) return Refetch(next);
        [[fallthrough]];
      case WriteOutcome::Gone:
      case WriteOutcome::UidTaken:
        // Changed there meanwhile: the next sync fetches it and merges.
        Postponed(next);
        state_.token.clear();
        break;
      case WriteOutcome::Failed:
        return Fail(result.reply.failure == DavFailure::None ? DavFailure::Http : result.reply.failure,
                    FailureMessage(result.reply));
    }
  } catch (const std::exception& error) {
    return Fail(DavFailure::None, error.what());
  }
  Upload(next + 1);
}

// The resource changed there since it was listed (412): fetched now and
// handed over to be merged.
void CollectionSync::Refetch(size_t next) {
  auto self = shared_from_this();
  FetchCards(
      client_, collection_, {writes_[next].href},
      [self, next](FetchedCards fetched) {
        if (fetched.failure != DavFailure::None) return self->Fail(fetched.failure, fetched.message);
        try {
          self->Merge(next, fetched.cards.empty() ? std::nullopt : std::optional<FetchedCard>(fetched.cards.front()));
        } catch (const std::exception& error) {
          self->Fail(DavFailure::None, error.what());
        }
      },
      {}, kind_);
}

void CollectionSync::Finish() {
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
void CollectionSync::Stopped() {
  SyncOutcome outcome;
  outcome.stopped = true;
  End(std::move(outcome));
}

void CollectionSync::Fail(DavFailure failure, const std::string& message) {
  SyncOutcome outcome;
  outcome.failure = failure == DavFailure::None ? DavFailure::Http : failure;
  outcome.message = message;
  End(std::move(outcome));
}

void CollectionSync::WriteState() {
  WriteSyncState(stateFile_, state_, written_);
  written_ = state_;
}

void CollectionSync::End(SyncOutcome outcome) {
  try {
    if (!state_.book.empty()) WriteState();
  } catch (const std::exception&) {
    // The state before stays; the next sync joins what was written.
  }
  outcome.summary = summary_;
  done_(std::move(outcome));
}

}  // namespace vesk
