// What an address book or calendar holds and what changed in it: the changes since a
// sync token (RFC 6578; a truncated answer, 507, is asked again from the
// token it gave), the etag of every card where the server has no sync
// report or refused the token (and, without the report, only when the
// collection's getctag changed), and the cards or calendar resources
// themselves by addressbook-multiget (RFC 6352) or calendar-multiget
// (RFC 4791) in batches. A calendar resource goes by the names of a card.
#pragma once

#include <QUrl>
#include <functional>
#include <string>
#include <vector>

#include "sync/dav_client.h"
#include "sync/dav_requests.h"

namespace vesk {

struct CardEntry {
  std::string href;  // as the server writes it: an absolute path
  std::string etag;
};

struct CardListing {
  DavFailure failure = DavFailure::None;
  std::string message;               // German, when it failed
  bool tokenRefused = false;         // the token is no longer valid: list everything instead
  bool noSyncReport = false;         // the server has no sync-collection report
  bool unchanged = false;            // by ListByCtag: nothing changed since the token
  std::vector<CardEntry> present;    // changed since the token, or every card
  std::vector<std::string> removed;  // gone since the token
  std::string token;                 // the token to ask from next time ("" without a sync report)
};

// The changes since token ("" for every card, with the first token).
void ListChanges(DavClient& client, const QUrl& book, const std::string& token, std::function<void(CardListing)> done);
// Every card's etag, by PROPFIND Depth 1.
void ListEtags(DavClient& client, const QUrl& book, std::function<void(CardListing)> done);

// For a server without the sync report, the token kept between syncs is
// the collection's getctag behind this prefix.
inline constexpr char kCtagToken[] = "ctag:";
// Every card's etag unless the collection's getctag is still the one of
// token; then nothing is present and unchanged is set. The token to keep
// comes back in the listing ("" when the server has no getctag either).
void ListByCtag(DavClient& client, const QUrl& book, const std::string& token, std::function<void(CardListing)> done,
                DavKind kind = DavKind::AddressBook);

struct FetchedCard {
  std::string href;
  std::string etag;
  std::string text;  // the vCard
};

struct FetchedCards {
  DavFailure failure = DavFailure::None;
  std::string message;
  bool stopped = false;              // the caller stopped it between two batches
  std::vector<FetchedCard> cards;    // the ones the server still has
  std::vector<std::string> missing;  // asked for, but gone
};

// Cards per multiget.
inline constexpr size_t kMultigetBatch = 100;

// After each batch, batchDone is told how many cards were asked for so far;
// false stops there.
void FetchCards(DavClient& client, const QUrl& book, std::vector<std::string> hrefs,
                std::function<void(FetchedCards)> done, std::function<bool(size_t asked)> batchDone = {},
                DavKind kind = DavKind::AddressBook);

}  // namespace vesk
