// Finding the user's address books from what they typed (RFC 6764, RFC
// 6352): the address book's own URL; else the principal of the server's
// root or of /.well-known/carddav, its addressbook-home-set, and the
// collections there that are address books.
#pragma once

#include <QUrl>
#include <functional>
#include <string>
#include <vector>

#include "sync/dav_client.h"

namespace vesk {

struct AddressBookEntry {
  QUrl url;
  std::string name;  // its displayname, else the last part of its path
};

struct Discovery {
  DavFailure failure = DavFailure::None;
  std::string message;      // German, for the user, when nothing was found
  std::string certificate;  // the SHA-256 fingerprint of a certificate not trusted
  std::vector<AddressBookEntry> books;
};

// The server's address as a URL: a bare host gets https:// and "/".
QUrl ServerUrl(const std::string& typed);

void DiscoverAddressBooks(DavClient& client, std::function<void(Discovery)> done);

}  // namespace vesk
