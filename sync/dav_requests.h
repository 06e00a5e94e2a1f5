// The bodies of the requests an address book client sends: the PROPFINDs
// of discovery and listing, the sync-collection report (RFC 6578) and the
// addressbook-multiget report (RFC 6352).
#pragma once

#include <string>
#include <vector>

namespace vesk {

// PROPFIND for current-user-principal (on the server's root or the
// well-known address).
std::string PrincipalPropfind();
// PROPFIND for addressbook-home-set (on the principal).
std::string HomeSetPropfind();
// PROPFIND, Depth 1, for the collections of the home set and what tells
// address books apart: resourcetype, displayname, getctag, sync-token.
std::string CollectionsPropfind();
// PROPFIND, Depth 1, for the etag of every card of an address book.
std::string EtagPropfind();
// REPORT sync-collection from the token ("" for the whole collection),
// asking for the etags.
std::string SyncCollectionReport(const std::string& token);
// REPORT addressbook-multiget of the cards' hrefs, asking for etag and card.
std::string MultigetReport(const std::vector<std::string>& hrefs);

}  // namespace vesk
