// Finding the user's address books or calendars from what they typed (RFC
// 6764, RFC 6352, RFC 4791): the collection's own URL; else the principal of
// the server's root or of /.well-known/carddav (caldav), its
// addressbook-home-set (calendar-home-set), and the collections there that
// are address books (calendars that take events).
#pragma once

#include <QUrl>
#include <functional>
#include <string>
#include <vector>

#include "sync/dav_client.h"
#include "sync/dav_requests.h"

namespace vesk {

struct DavCollection {
  QUrl url;
  std::string name;  // its displayname, else the last part of its path
};

struct Discovery {
  DavFailure failure = DavFailure::None;
  std::string message;      // German, for the user, when nothing was found
  std::string certificate;  // the SHA-256 fingerprint of a certificate not trusted
  std::vector<DavCollection> collections;
};

// The server's address as a URL: a bare host gets https:// and "/".
QUrl ServerUrl(const std::string& typed);

void DiscoverCollections(DavClient& client, DavKind kind, std::function<void(Discovery)> done);

}  // namespace vesk
