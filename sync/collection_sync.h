// The course every sync of a collection takes, whatever its resources
// mean: the state of the last sync read; the server's changes since its
// token listed (or every etag, where the server has no sync report or
// refused the token, and then only when the getctag changed) and fetched
// in batches; then, once the kind's own sync has set them against the table
// and queued its writes, the writes sent one by one, each guarded by the
// etag last seen, a resource changed there meanwhile (412) fetched again
// and handed back to be merged; the state written after each step that
// matters, so that a sync ended anywhere is taken up by the next.
#pragma once

#include <QUrl>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "sync/card_listing.h"
#include "sync/card_writes.h"
#include "sync/dav_requests.h"
#include "sync/sync_outcome.h"
#include "sync/sync_state.h"

namespace vesk {

class CollectionSync : public std::enable_shared_from_this<CollectionSync> {
 public:
  virtual ~CollectionSync() = default;
  void Start();

 protected:
  CollectionSync(DavClient& client, QUrl collection, DavKind kind, std::string stateFile, SyncHooks hooks,
                 std::function<void(SyncOutcome)> done);

  // fetched_ holds the resources changed on the server, removed_ the hrefs
  // gone there: sets them against the table and queues the writes. The
  // state is written and the writes sent after it.
  virtual void Reconcile() = 0;
  // Write i is done; etag is the resource's new one ("" when the server gave none).
  virtual void Wrote(size_t i, const std::string& etag) = 0;
  // Write i found the resource changed there (412): now is what the server
  // holds (none when it is gone meanwhile). Merges it and goes on with
  // Upload (i again, once, or i + 1).
  virtual void Merge(size_t i, std::optional<FetchedCard> now) = 0;
  // Write i is left to the next sync (the resource gone or changed there
  // again, its UID taken).
  virtual void Postponed(size_t i) = 0;

  struct ResourceWrite {
    std::string href;
    std::string text;  // "" for a deletion
    std::string etag;  // "" for a new resource
    bool remove = false;
    bool again = false;  // written a second time, after a merge
  };

  // Sends the writes from next on.
  void Upload(size_t next);
  void Fail(DavFailure failure, const std::string& message);
  // The caller is told how far the sync is; false when it wants it stopped.
  bool Told() const;
  QUrl Resolved(const std::string& href) const { return collection_.resolved(QUrl(QString::fromStdString(href))); }

  DavClient& client_;
  const QUrl collection_;
  SyncStateData state_;
  std::map<std::string, FetchedCard> fetched_;
  std::set<std::string> removed_;
  std::vector<ResourceWrite> writes_;
  SyncSummary summary_;
  SyncProgress progress_;

 private:
  void List(const std::string& token);
  void ListByCtag(const std::string& token);
  void Listed(CardListing listing, bool everything);
  void Reconciled();
  void Written(size_t next, WriteResult result);
  void Refetch(size_t next);
  void Finish();
  void Stopped();
  void WriteState();
  void End(SyncOutcome outcome);

  const DavKind kind_;
  const std::string stateFile_;
  SyncHooks hooks_;
  std::function<void(SyncOutcome)> done_;
  SyncStateData written_;  // what the state file holds
  std::string token_;
};

}  // namespace vesk
