#include "sync/card_listing.h"

#include <memory>

#include "sync/dav_multistatus.h"
#include "sync/dav_requests.h"

namespace vesk {
namespace {

// The path of url, as hrefs name the collection itself.
std::string PathOf(const QUrl& url) { return url.path(QUrl::FullyEncoded).toStdString(); }

bool SameCollection(const std::string& href, const QUrl& book) {
  auto trimmed = [](std::string path) {
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    return path;
  };
  const QUrl url(QString::fromStdString(href));
  return trimmed(url.isRelative() ? href : PathOf(url)) == trimmed(PathOf(book));
}

// Fills failure and message from a reply that did not bring a multistatus;
// false when it did, with the multistatus in answer.
template <class Result>
bool Failed(const DavReply& reply, Result& result, DavMultistatus& answer) {
  if (reply.failure == DavFailure::None && reply.status == 207) {
    try {
      answer = ReadMultistatus(reply.body);
      return false;
    } catch (const EDavAnswer& error) {
      result.failure = DavFailure::Http;
      result.message = error.Message();
      return true;
    }
  }
  result.failure = reply.failure == DavFailure::None ? DavFailure::Http : reply.failure;
  result.message = reply.status == 404 || reply.status == 410
                       ? std::string("Das Adressbuch gibt es auf dem Server nicht mehr")
                       : FailureMessage(reply);
  return true;
}

void AskChanges(DavClient& client, const QUrl& book, const std::string& token, std::shared_ptr<CardListing> listing,
                std::function<void(CardListing)> done) {
  client.Send("REPORT", book, SyncCollectionReport(token), {{"Depth", "0"}},
              [&client, book, listing, done = std::move(done)](const DavReply& reply) mutable {
                const bool refused = (reply.status == 403 || reply.status == 409) &&
                                     reply.body.find("valid-sync-token") != std::string::npos;
                if (refused) {
                  listing->tokenRefused = true;
                  return done(std::move(*listing));
                }
                if (reply.status == 403 || reply.status == 405 || reply.status == 501 ||
                    (reply.status == 400 && reply.body.find("sync-collection") != std::string::npos)) {
                  listing->noSyncReport = true;
                  return done(std::move(*listing));
                }
                DavMultistatus answer;
                if (Failed(reply, *listing, answer)) return done(std::move(*listing));
                bool truncated = false;
                for (DavResource& resource : answer.resources) {
                  if (SameCollection(resource.href, book)) {
                    truncated = truncated || resource.status == 507;
                  } else if (resource.status == 404) {
                    listing->removed.push_back(std::move(resource.href));
                  } else if (resource.status / 100 == 2) {
                    listing->present.push_back({std::move(resource.href), std::move(resource.etag)});
                  }
                }
                listing->token = answer.syncToken;
                if (truncated && !answer.syncToken.empty())
                  return AskChanges(client, book, answer.syncToken, listing, std::move(done));
                done(std::move(*listing));
              });
}

struct Fetching {
  std::vector<std::string> hrefs;
  FetchedCards fetched;
  std::function<void(FetchedCards)> done;
  std::function<bool(size_t)> batchDone;
  DavKind kind;
};

void FetchBatch(DavClient& client, const QUrl& book, std::shared_ptr<Fetching> fetching, size_t from) {
  const std::vector<std::string>& hrefs = fetching->hrefs;
  if (from >= hrefs.size()) return fetching->done(std::move(fetching->fetched));
  const size_t to = std::min(hrefs.size(), from + kMultigetBatch);
  const std::vector<std::string> batch(hrefs.begin() + static_cast<ptrdiff_t>(from),
                                       hrefs.begin() + static_cast<ptrdiff_t>(to));
  client.Send(
      "REPORT", book, MultigetReport(fetching->kind, batch), {{"Depth", "1"}},
      [&client, book, fetching, to](const DavReply& reply) {
        FetchedCards* fetched = &fetching->fetched;
        DavMultistatus answer;
        if (Failed(reply, *fetched, answer)) return fetching->done(std::move(*fetched));
        for (DavResource& resource : answer.resources) {
          if (resource.status / 100 == 2 && !resource.data.empty())
            fetched->cards.push_back({std::move(resource.href), std::move(resource.etag), std::move(resource.data)});
          else
            fetched->missing.push_back(std::move(resource.href));
        }
        if (fetching->batchDone && !fetching->batchDone(to)) {
          fetched->stopped = true;
          return fetching->done(std::move(*fetched));
        }
        FetchBatch(client, book, fetching, to);
      });
}

}  // namespace

void ListChanges(DavClient& client, const QUrl& book, const std::string& token, std::function<void(CardListing)> done) {
  AskChanges(client, book, token, std::make_shared<CardListing>(), std::move(done));
}

void ListEtags(DavClient& client, const QUrl& book, std::function<void(CardListing)> done) {
  client.Send("PROPFIND", book, EtagPropfind(), {{"Depth", "1"}},
              [book, done = std::move(done)](const DavReply& reply) {
                CardListing listing;
                DavMultistatus answer;
                if (Failed(reply, listing, answer)) return done(std::move(listing));
                for (DavResource& resource : answer.resources) {
                  if (SameCollection(resource.href, book)) continue;
                  if (resource.status / 100 == 2 && !resource.collection)
                    listing.present.push_back({std::move(resource.href), std::move(resource.etag)});
                }
                done(std::move(listing));
              });
}

void ListByCtag(DavClient& client, const QUrl& book, const std::string& token, std::function<void(CardListing)> done,
                DavKind kind) {
  client.Send("PROPFIND", book, CollectionsPropfind(kind), {{"Depth", "0"}},
              [&client, book, token, done = std::move(done)](const DavReply& reply) {
                CardListing listing;
                DavMultistatus answer;
                if (Failed(reply, listing, answer)) return done(std::move(listing));
                std::string ctag;
                for (const DavResource& resource : answer.resources)
                  if (SameCollection(resource.href, book)) ctag = resource.ctag;
                const std::string now = ctag.empty() ? "" : kCtagToken + ctag;
                if (!now.empty() && now == token) {
                  listing.unchanged = true;
                  listing.token = now;
                  return done(std::move(listing));
                }
                ListEtags(client, book, [now, done](CardListing all) {
                  if (all.failure == DavFailure::None) all.token = now;
                  done(std::move(all));
                });
              });
}

void FetchCards(DavClient& client, const QUrl& book, std::vector<std::string> hrefs,
                std::function<void(FetchedCards)> done, std::function<bool(size_t asked)> batchDone, DavKind kind) {
  FetchBatch(client, book,
             std::make_shared<Fetching>(Fetching{std::move(hrefs), {}, std::move(done), std::move(batchDone), kind}),
             0);
}

}  // namespace vesk
