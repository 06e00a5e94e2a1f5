// Writing one card to the address book, or one resource to the calendar,
// guarded so that nothing is overwritten unseen: a new one with
// If-None-Match: *, a change and a deletion with If-Match and the etag last
// seen.
#pragma once

#include <QUrl>
#include <functional>
#include <string>

#include "sync/dav_client.h"
#include "sync/dav_requests.h"

namespace vesk {

enum class WriteOutcome {
  Written,       // 201 or 204 (or 200)
  ChangedThere,  // 412: the server's card is not the one last seen
  UidTaken,      // 409 no-uid-conflict: another resource holds the UID
  Gone,          // 404 on a change or deletion
  Failed,        // anything else; see the reply
};

struct WriteResult {
  WriteOutcome outcome = WriteOutcome::Failed;
  std::string etag;  // the new etag, when the server gave one
  DavReply reply;
};

// etag "" writes a new card (or calendar resource).
void PutCard(DavClient& client, const QUrl& url, const std::string& card, const std::string& etag,
             std::function<void(WriteResult)> done, DavKind kind = DavKind::AddressBook);
void DeleteCard(DavClient& client, const QUrl& url, const std::string& etag, std::function<void(WriteResult)> done);

}  // namespace vesk
